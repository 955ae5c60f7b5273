// ToolsMenu: adding and removing custom commands of Developer Studio's Tools menu without
// disturbing the user's own.
#pragma once

#include "foundation/String.h"
#include "host/ToolEntry.h"

class DevStudioVersion;
class UpdateRegistryView;

// Each edit loads the whole menu (HKEY_CURRENT_USER, or HKEY_LOCAL_MACHINE when the
// per-user Tools key does not open), changes it in memory and saves it to
// HKEY_CURRENT_USER renumbered from 0, with an accelerator letter for every menu text.
// One edit runs at a time, on the generation made current here; with a view, every
// command saved is shown (RegistryStep::setText) and a cancel between commands fails the
// save with ERROR_CANCELLED.
void setToolsMenuTarget(DevStudioVersion* version, UpdateRegistryView* view);

// A command of the same name takes the entry's properties after its own (so they win);
// otherwise the entry becomes a new last command.
bool addTool(const ToolEntry& entry);
// Drops every command of the entry's name.
bool removeTool(const ToolEntry& entry);

// The steps of an edit. loadTools always succeeds. saveTools writes at most the
// generation's tool limit of commands (the excess is dropped, with a message the first time
// in the run); a failed write or a cancel leaves what was written and neither updates
// "NumTools" nor deletes stale values.
bool loadTools();
bool saveTools();
// Deletes the per-user Tools values numbered n or higher; stops at the first failure.
bool deleteToolValuesFrom(int n);

// Free accelerator letters, indexed by a lower-cased character.
struct AcceleratorTable {
    // Letters and digits (below 128) free, except the reserved letters.
    explicit AcceleratorTable(const char* reserved);
    const char* reserved;
    bool free[256];
};

// Keeps menuText's own accelerator when its letter is free; otherwise puts "&" before the
// first character that is free. When none is, it tries a fresh table of its own (only the
// reserved letters taken) without marking the caller's; failing that, menuText unchanged.
String assignAccelerator(AcceleratorTable& table, const String& menuText);
