// ToolsMenu: load, change in memory, save renumbered.
#include "host/ToolsMenu.h"

#include "foundation/MessageBox.h"
#include "host/DevStudioVersion.h"
#include "host/RegistryStep.h"
#include "host/UpdateRegistryView.h"

#include <cctype>
#include <cstdint>

namespace {

const char* const limitMessage = "The Visual Studio Tools menu is limited to 16 custom tools.\r\n"
                                 "Setup could not add some tools due to this limit.";

// The edit in progress. The slots hold count commands and one spare for an addition.
struct Edit {
    DevStudioVersion* version = nullptr;
    UpdateRegistryView* view = nullptr;
    int count = 0;
    Array<ToolEntry> slots;
};

Edit edit;
bool limitMessageShown = false;

// The number after the first "#" of a value name: -1 when there is no "#" or anything but
// decimal digits follows it.
int toolIndexOf(const String& valueName)
{
    const int hash = valueName.indexOf('#');
    if (hash < 0 || hash + 1 >= valueName.length() || valueName.length() - hash - 1 > 9)
        return -1;
    int index = 0;
    for (int i = hash + 1; i < valueName.length(); ++i) {
        const char c = valueName.charAt(i);
        if (c < '0' || c > '9')
            return -1;
        index = index * 10 + (c - '0');
    }
    return index;
}

char folded(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Marks and places the first free character of stripped; empty when none is free.
String placeAccelerator(AcceleratorTable& table, const String& stripped)
{
    for (int i = 0; i < stripped.length(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded(stripped.charAt(i)));
        if (table.free[c]) {
            table.free[c] = false;
            return stripped.substring(0, i) + "&" + stripped.substring(i);
        }
    }
    return String();
}

} // namespace

AcceleratorTable::AcceleratorTable(const char* reserved) : reserved(reserved)
{
    for (int c = 0; c < 256; ++c)
        free[c] = c < 128 && std::isalnum(c);
    for (const char* letter = reserved; *letter; ++letter)
        free[static_cast<unsigned char>(*letter)] = false;
}

String assignAccelerator(AcceleratorTable& table, const String& menuText)
{
    const String stripped = withoutAccelerator(menuText);
    const int amp = menuText.indexOf('&');
    if (amp >= 0 && amp + 1 < menuText.length()) {
        const unsigned char own = static_cast<unsigned char>(folded(menuText.charAt(amp + 1)));
        if (table.free[own]) {
            table.free[own] = false;
            return menuText;
        }
    }
    String placed = placeAccelerator(table, stripped);
    if (!placed.isEmpty())
        return placed;
    // Every letter is taken by other commands: share one with them rather than have none.
    AcceleratorTable own(table.reserved);
    placed = placeAccelerator(own, stripped);
    return placed.isEmpty() ? menuText : placed;
}

void setToolsMenuTarget(DevStudioVersion* version, UpdateRegistryView* view)
{
    edit.version = version;
    edit.view = view;
}

bool loadTools()
{
    RegistryKey* tools = edit.version->toolsKey(HKEY_CURRENT_USER);
    uint32_t count = 0;
    if (!tools->getNumber("NumTools", count) && !tools->open(RegistryKey::Read)) {
        tools = edit.version->toolsKey(HKEY_LOCAL_MACHINE);
        tools->getNumber("NumTools", count);
    }
    // A count beyond any real menu is damage; the values' own numbers still bound it.
    if (count > 4096)
        count = 4096;
    edit.count = static_cast<int>(count);
    edit.slots.clear();
    edit.slots.resize(edit.count + 1);

    String name;
    RegistryValue value;
    tools->resetIndex();
    while (tools->nextValue(name, value)) {
        const int index = toolIndexOf(name);
        if (index < 0 || index >= edit.count)
            continue;
        const String property = name.substring(0, name.indexOf('#'));
        ToolEntry& slot = edit.slots[index];
        slot.add(property, value);
        if (property.equals(String("MenuName")))
            slot.name = withoutAccelerator(value.text);
    }
    return true;
}

bool saveTools()
{
    DevStudioVersion& version = *edit.version;
    RegistryKey& tools = *version.toolsKey(HKEY_CURRENT_USER);
    AcceleratorTable table(version.reservedLetters());
    int slots = edit.count;
    if (slots > version.toolLimit()) {
        if (!limitMessageShown) {
            limitMessageShown = true;
            messageBox(limitMessage, MB_OK);
        }
        slots = version.toolLimit();
    }

    bool ok = true;
    int n = 0;
    for (int i = 0; ok && i < slots; ++i) {
        ToolEntry& command = edit.slots[i];
        if (command.name.isEmpty())
            continue;
        if (edit.view) {
            RegistryStep::setText(tools.fullName() + command.name);
            if (edit.view->pollCancel()) {
                ok = false;
                break;
            }
        }
        const String suffix = String("#") + String::valueOf(n);
        for (ToolProperty& property : command.properties) {
            if (property.name.equals(String("MenuName"))) {
                if (command.name.indexOf('&') < 0)
                    command.name = assignAccelerator(table, property.value.text);
                // A command replaced by a later addition holds two menu texts; both carry
                // the accelerator, so the one written last keeps it.
                property.value.text = command.name;
            }
            if (!tools.setValue((property.name + suffix).c_str(), property.value)) {
                ok = false;
                break;
            }
        }
        ++n;
    }
    edit.slots.clear();
    edit.count = 0;
    if (!ok)
        return false;
    return tools.setNumber("NumTools", n) && deleteToolValuesFrom(n);
}

bool deleteToolValuesFrom(int n)
{
    RegistryKey& tools = *edit.version->toolsKey(HKEY_CURRENT_USER);
    String name;
    RegistryValue value;
    tools.resetIndex();
    // A delete restarts the enumeration (the indices shift), so no value is passed over.
    while (tools.nextValue(name, value)) {
        if (toolIndexOf(name) >= n && !tools.deleteValue(name.c_str()))
            return false;
    }
    return true;
}

bool addTool(const ToolEntry& entry)
{
    loadTools();
    bool found = false;
    for (int i = 0; i < edit.count; ++i) {
        ToolEntry& command = edit.slots[i];
        if (!command.name.isEmpty() && command.name.equals(entry.name)) {
            for (const ToolProperty& property : entry.properties)
                command.add(property.name, property.value);
            command.name = entry.name;
            found = true;
            break;
        }
    }
    if (!found) {
        edit.slots[edit.count] = entry;
        ++edit.count;
    }
    return saveTools();
}

bool removeTool(const ToolEntry& entry)
{
    loadTools();
    for (int i = 0; i < edit.count; ++i) {
        if (edit.slots[i].name.equals(entry.name))
            edit.slots[i].clear();
    }
    return saveTools();
}
