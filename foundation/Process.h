// runProcess: starting a command line, optionally waiting for it to end.
#pragma once

#include <windows.h>

// Starts commandLine (modified in place by the system, as CreateProcessA may) with the
// parent's environment and current directory. Without startupInfo the program's own
// (GetStartupInfoA) is used. When wait is true, waits for the process to end and succeeds
// only for exit code 0; another exit code sets the last error to ERROR_PROCESS_ABORTED.
// With exitCode, a wait succeeds whatever the exit code, which goes there. A wait that
// lasts waitLimit milliseconds gives up with the last error WAIT_TIMEOUT and leaves the
// process running. Returns false on failure with the last error set. With program, that
// exact file is started (no search along the path, whatever the command line's first word
// says).
bool runProcess(char* commandLine, bool inheritHandles, STARTUPINFOA* startupInfo = nullptr,
                bool wait = false, DWORD* exitCode = nullptr, DWORD waitLimit = INFINITE,
                const char* program = nullptr);
