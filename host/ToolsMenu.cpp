// ToolsMenu: load, change in memory, save renumbered.
#include "host/ToolsMenu.h"

#include "foundation/MessageBox.h"
#include "host/DevStudioVersion.h"
#include "host/RegistryUpdate.h"

#include <cctype>
#include <cstdint>

namespace {

const char* const limitMessage = "The Visual Studio Tools menu is limited to 16 custom tools.\r\n"
                                 "Setup could not add some tools due to this limit.";

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

// Whether the unit is free in table, which it then takes.
bool take(AcceleratorTable& table, wchar_t unit)
{
    if (unit >= 128)
        return false;
    const int c = std::tolower(static_cast<int>(unit));
    if (!table.free[c])
        return false;
    table.free[c] = false;
    return true;
}

// Marks and places the first free character of stripped; empty when none is free.
WideText placeAccelerator(AcceleratorTable& table, const WideText& stripped)
{
    for (int i = 0; i < stripped.length(); ++i) {
        if (take(table, stripped.charAt(i)))
            return stripped.substring(0, i) + WideText(L"&") + stripped.substring(i);
    }
    return WideText();
}

} // namespace

AcceleratorTable::AcceleratorTable(const char* reserved) : reserved(reserved)
{
    for (int c = 0; c < 256; ++c)
        free[c] = c < 128 && std::isalnum(c);
    for (const char* letter = reserved; *letter; ++letter)
        free[static_cast<unsigned char>(*letter)] = false;
}

WideText assignAccelerator(AcceleratorTable& table, const WideText& menuText)
{
    const WideText stripped = withoutAccelerator(menuText);
    const int amp = acceleratorIndex(menuText);
    if (amp >= 0 && take(table, menuText.charAt(amp + 1)))
        return menuText;
    WideText placed = placeAccelerator(table, stripped);
    if (!placed.isEmpty())
        return placed;
    // Every letter is taken by other commands: share one with them rather than have none.
    AcceleratorTable own(table.reserved);
    placed = placeAccelerator(own, stripped);
    return placed.isEmpty() ? menuText : placed;
}

bool ToolsMenu::load()
{
    RegistryKey* tools = version_.toolsKey(HKEY_CURRENT_USER);
    uint32_t count = 0;
    if (!tools->getNumber("NumTools", count) && !tools->open(RegistryKey::Read)) {
        tools = version_.toolsKey(HKEY_LOCAL_MACHINE);
        tools->getNumber("NumTools", count);
    }
    // A count beyond any real menu is damage; the values' own numbers still bound it.
    if (count > 4096)
        count = 4096;
    count_ = static_cast<int>(count);
    slots_.clear();
    slots_.resize(count_ + 1);

    String name;
    RegistryValue value;
    tools->resetIndex();
    while (tools->nextValue(name, value, TextForm::Wide)) {
        const int index = toolIndexOf(name);
        if (index < 0 || index >= count_)
            continue;
        const String property = name.substring(0, name.indexOf('#'));
        ToolEntry& slot = slots_[index];
        slot.add(property, value);
        if (property.equals(String("MenuName")))
            slot.name = withoutAccelerator(value.wide);
    }
    return true;
}

bool ToolsMenu::save()
{
    RegistryKey& tools = *version_.toolsKey(HKEY_CURRENT_USER);
    AcceleratorTable table(version_.reservedLetters());
    int slots = count_;
    if (slots > version_.toolLimit()) {
        if (!update_.toolLimitReported) {
            update_.toolLimitReported = true;
            messageBox(limitMessage, MB_OK);
        }
        slots = version_.toolLimit();
    }

    bool ok = true;
    int n = 0;
    for (int i = 0; ok && i < slots; ++i) {
        ToolEntry& command = slots_[i];
        if (command.name.isEmpty())
            continue;
        update_.show(tools.fullName() + command.name.toAnsi());
        if (update_.cancelled()) {
            ok = false;
            break;
        }
        const String suffix = String("#") + String::valueOf(n);
        for (ToolProperty& property : command.properties) {
            if (property.name.equals(String("MenuName"))) {
                if (acceleratorIndex(command.name) < 0)
                    command.name = assignAccelerator(table, property.value.wide);
                // A command replaced by a later addition holds two menu texts; both carry
                // the accelerator, so the one written last keeps it.
                property.value.wide = command.name;
            }
            if (!tools.setValue((property.name + suffix).c_str(), property.value)) {
                ok = false;
                break;
            }
        }
        ++n;
    }
    slots_.clear();
    count_ = 0;
    if (!ok)
        return false;
    return tools.setNumber("NumTools", n) && deleteValuesFrom(n);
}

bool ToolsMenu::deleteValuesFrom(int n)
{
    RegistryKey& tools = *version_.toolsKey(HKEY_CURRENT_USER);
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

bool ToolsMenu::add(const ToolEntry& entry)
{
    load();
    bool found = false;
    for (int i = 0; i < count_; ++i) {
        ToolEntry& command = slots_[i];
        if (!command.name.isEmpty() && command.name.equals(entry.name)) {
            for (const ToolProperty& property : entry.properties)
                command.add(property.name, property.value);
            command.name = entry.name;
            found = true;
            break;
        }
    }
    if (!found) {
        slots_[count_] = entry;
        ++count_;
    }
    return save();
}

bool ToolsMenu::remove(const ToolEntry& entry)
{
    load();
    for (int i = 0; i < count_; ++i) {
        if (slots_[i].name.equals(entry.name))
            slots_[i].clear();
    }
    return save();
}
