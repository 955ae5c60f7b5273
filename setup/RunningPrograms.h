// checkRunningPrograms: asks the user to close the product's programs and Developer Studio
// before an install or uninstall changes the files and settings they hold.
#pragma once

#include "foundation/String.h"

// Whether a top-level window title belongs to the Coverage Browser, the product's main
// program or Developer Studio (exact, case-sensitive comparisons).
bool isRunningProgramTitle(const String& title);

// Looks at every top-level window, visible or not, under the wait cursor; for each match
// shows "Please close the program "<title>"" with OK and Cancel. True when every such
// message was answered OK; Cancel ends the check at once with false.
bool checkRunningPrograms();
