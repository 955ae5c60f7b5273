// ToolEntry: the properties of a command setup adds.
#include "host/ToolEntry.h"

ToolEntry::ToolEntry(const String& menuText, const String& pathName, const String& arguments,
                     const String& initialDirectory, bool guiTool, bool outputRedirect)
    : name(withoutAccelerator(WideText::fromAnsi(menuText)))
{
    add("AskArgument", 0u);
    add("CloseWindow", 0u);
    add("DefaultArguments", arguments);
    add("GUITool", guiTool ? 1u : 0u);
    add("InitialDirectory", initialDirectory);
    add("MenuName", menuText);
    add("OutputRedirect", outputRedirect ? 1u : 0u);
    add("PathName", pathName);
    add("ReloadNoPrompt", 0u);
    add("UseSearchPath", 1u);
    add("VisibleOnMenu", 1u);
}

void ToolEntry::add(const String& propertyName, const RegistryValue& value)
{
    properties.add({propertyName, value});
}

void ToolEntry::add(const char* propertyName, uint32_t number)
{
    add(String(propertyName), RegistryValue(number));
}

void ToolEntry::add(const char* propertyName, const String& text)
{
    add(String(propertyName), RegistryValue(WideText::fromAnsi(text), REG_SZ));
}

void ToolEntry::clear()
{
    name = WideText();
    properties.clear();
}

int acceleratorIndex(const WideText& text)
{
    for (int i = 0; i + 1 < text.length(); ++i) {
        if (text.charAt(i) != L'&')
            continue;
        if (text.charAt(i + 1) != L'&')
            return i;
        ++i;
    }
    return -1;
}

WideText withoutAccelerator(const WideText& text)
{
    const int amp = acceleratorIndex(text);
    if (amp < 0)
        return text;
    return text.substring(0, amp) + text.substring(amp + 1);
}
