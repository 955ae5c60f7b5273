// runProcess: CreateProcessA, then an optional wait for the exit code.
#include "foundation/Process.h"

bool runProcess(char* commandLine, bool inheritHandles, STARTUPINFOA* startupInfo, bool wait, DWORD* exitCode,
                DWORD waitLimit, const char* program)
{
    STARTUPINFOA own;
    if (!startupInfo) {
        GetStartupInfoA(&own);
        startupInfo = &own;
    }
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, inheritHandles, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, startupInfo, &process))
        return false;

    bool ok = true;
    if (wait) {
        DWORD code = 0;
        const DWORD waited = WaitForSingleObject(process.hProcess, waitLimit);
        if (waited != WAIT_OBJECT_0) {
            if (waited == WAIT_TIMEOUT)
                SetLastError(WAIT_TIMEOUT);
            ok = false;
        } else if (!GetExitCodeProcess(process.hProcess, &code)) {
            ok = false;
        } else if (exitCode) {
            *exitCode = code;
        } else if (code != 0) {
            SetLastError(ERROR_PROCESS_ABORTED);
            ok = false;
        }
    }
    // Closing the handles must not replace the error the caller is to read.
    const DWORD error = GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetLastError(error);
    return ok;
}
