// ExitCode: what the process's exit code tells a caller about the run; the codes that
// software-distribution systems read without configuration (those of Windows Installer).
#pragma once

enum ExitCode {
    // Done.
    exitDone = 0,
    // The command line is wrong: an option without its value, an unknown option under -s,
    // a target folder refused, a log that cannot be opened; nothing was changed.
    exitBadOptions = 87,
    // The user cancelled or answered No.
    exitCancelled = 1602,
    // The install or uninstall failed: a failure was reported.
    exitFailed = 1603,
    // Another install or uninstall is running.
    exitAlreadyRunning = 1618,
    // Done, but Windows must restart to finish (Windows 95 and 98).
    exitRestartNeeded = 3010,
};
