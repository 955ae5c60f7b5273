// relaunchFromTemp: how the uninstaller in the product folder gets out of its own way.
#pragma once

#include "foundation/Path.h"
#include "setup/ExitCode.h"
#include "setup/Options.h"

// A running program's file cannot be deleted, so the uninstaller that the program list
// starts from the product folder hands the work to a copy of itself in the temporary
// folder, started with -d productFolder and the options it passes on (-a, -s, -l FILE).
//
// Where a running program's file can be moved (Windows NT, the temporary folder on the
// product folder's drive), the program moves its own file there, puts a copy back in its
// place, starts the moved file, waits for it and returns its exit code: whoever started the
// uninstaller sees the real end and the real result, and the product folder holds no
// running file. Elsewhere the program copies itself there, starts the copy and returns
// exitDone at once, without waiting. A failure is reported and returns exitFailed.
ExitCode relaunchFromTemp(const Path& productFolder, const Options& options);
