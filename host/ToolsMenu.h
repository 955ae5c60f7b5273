// ToolsMenu: adding and removing custom commands of Developer Studio's Tools menu without
// disturbing the user's own.
#pragma once

#include "foundation/Array.h"
#include "foundation/String.h"
#include "host/ToolEntry.h"

class DevStudioVersion;
class RegistryUpdate;

// The Tools menu of one Developer Studio generation, edited within one registry update.
// Each edit loads the whole menu (HKEY_CURRENT_USER, or HKEY_LOCAL_MACHINE when the
// per-user Tools key does not open), changes it in memory and saves it to
// HKEY_CURRENT_USER renumbered from 0, with an accelerator letter for every menu text.
// The values are read and written in the wide form: the user's commands keep every unit
// of their texts, whatever their script.
// Every command saved is shown as the update's setting, and a cancel of the update
// between commands fails the save with ERROR_CANCELLED.
class ToolsMenu {
public:
    ToolsMenu(DevStudioVersion& version, RegistryUpdate& update) : version_(version), update_(update) {}
    ToolsMenu(const ToolsMenu&) = delete;
    ToolsMenu& operator=(const ToolsMenu&) = delete;

    // A command of the same name takes the entry's properties after its own (so they win);
    // otherwise the entry becomes a new last command.
    bool add(const ToolEntry& entry);
    // Drops every command of the entry's name.
    bool remove(const ToolEntry& entry);

    // The steps of an edit. load always succeeds. save writes at most the generation's
    // tool limit of commands (the excess is dropped, with a message the first time in the
    // update); a failed write or a cancel leaves what was written and neither updates
    // "NumTools" nor deletes stale values.
    bool load();
    bool save();
    // Deletes the per-user Tools values numbered n or higher; stops at the first failure.
    bool deleteValuesFrom(int n);

private:
    DevStudioVersion& version_;
    RegistryUpdate& update_;
    // The loaded commands, and one spare slot for an addition.
    int count_ = 0;
    Array<ToolEntry> slots_;
};

// Free accelerator letters, indexed by a lower-cased character below 128 (no other
// character is ever free).
struct AcceleratorTable {
    // Letters and digits free, except the reserved letters.
    explicit AcceleratorTable(const char* reserved);
    const char* reserved;
    bool free[256];
};

// Keeps menuText's own accelerator when its letter is free; otherwise puts "&" before the
// first character that is free. When none is, it tries a fresh table of its own (only the
// reserved letters taken) without marking the caller's; failing that, menuText unchanged.
WideText assignAccelerator(AcceleratorTable& table, const WideText& menuText);
