// relaunchFromTemp: how the uninstaller in the product folder gets out of its own way.
#pragma once

#include "foundation/Path.h"
#include "setup/ExitCode.h"
#include "setup/Options.h"

// A running program's file cannot be deleted, so the uninstaller that the program list
// starts from the product folder hands the work to a copy of itself in the temporary
// folder, started with -d productFolder and the options it passes on (-a, -s, -u, -m, -l FILE).
// The copy goes into a new folder of our own there, with a name nobody can guess and rights
// for the current user, the administrators and SYSTEM only, so that nobody else can put a
// DLL beside it or swap it before it starts; it is started by that exact path. The copy and
// the folder are deleted when the copy has ended, else at the next start of Windows. A
// temporary folder that is missing, not writable or too long for the copy's path ends the
// run as a failure before anything changes.
//
// Where a running program's file can be moved (Windows NT, the temporary folder on the
// product folder's drive), the program moves its own file there, puts a copy back in its
// place, starts the moved file, waits for it and returns its exit code: whoever started the
// uninstaller sees the real end and the real result, and the product folder holds no
// running file. Elsewhere the program copies itself there, starts the copy and returns
// exitDone at once, without waiting. A failure is reported and returns exitFailed.
ExitCode relaunchFromTemp(const Path& productFolder, const Options& options);

// Deletes copy, then its folder (named with a trailing separator), now where that can be
// done, else at the next start of Windows: on Windows 95 and 98, whose MoveFileExA cannot
// delay, through wininit.ini (delayedMove). Lacking the right to ask is no failure.
void removeOwnFolder(const String& folder, const String& copy);
