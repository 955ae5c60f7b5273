// ToolEntry: the properties of a command setup adds.
#include "host/ToolEntry.h"

ToolEntry::ToolEntry(const String& menuText, const String& pathName, const String& arguments,
                     const String& initialDirectory, bool guiTool, bool outputRedirect)
    : name(withoutAccelerator(menuText))
{
    add("AskArgument", RegistryValue(0u));
    add("CloseWindow", RegistryValue(0u));
    add("DefaultArguments", RegistryValue(arguments));
    add("GUITool", RegistryValue(guiTool ? 1u : 0u));
    add("InitialDirectory", RegistryValue(initialDirectory));
    add("MenuName", RegistryValue(menuText));
    add("OutputRedirect", RegistryValue(outputRedirect ? 1u : 0u));
    add("PathName", RegistryValue(pathName));
    add("ReloadNoPrompt", RegistryValue(0u));
    add("UseSearchPath", RegistryValue(1u));
    add("VisibleOnMenu", RegistryValue(1u));
}

void ToolEntry::add(const String& propertyName, const RegistryValue& value)
{
    properties.push_back({propertyName, value});
}

void ToolEntry::clear()
{
    name = String();
    properties.clear();
}

String withoutAccelerator(const String& text)
{
    const int amp = text.indexOf('&');
    if (amp < 0)
        return text;
    return text.substring(0, amp) + text.substring(amp + 1);
}
