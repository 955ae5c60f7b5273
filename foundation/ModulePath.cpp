// modulePath: GetModuleFileNameW in the code page (GetModuleFileNameA where the system has no
// wide call), read once.
#include "foundation/ModulePath.h"

#include "foundation/CodePagePath.h"
#include "foundation/SystemLibrary.h"
#include "foundation/WindowsVersion.h"

#include <windows.h>

namespace {

// The program's path once read (constant-initialized: no start-up code, no guard).
String path;

String readModulePath()
{
    wchar_t wide[MAX_PATH];
    typedef DWORD(WINAPI * ModuleFileNameFunction)(HMODULE, wchar_t*, DWORD);
    // Windows 95, 98 and Me export the wide call as a stub: the platform decides, not
    // whatever error the stub leaves.
    const auto moduleFileName = isWindowsNT() ? reinterpret_cast<ModuleFileNameFunction>(reinterpret_cast<void*>(
                                                    systemFunction("kernel32.dll", "GetModuleFileNameW")))
                                              : nullptr;
    if (moduleFileName) {
        const DWORD length = moduleFileName(nullptr, wide, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            return codePagePath(wide);
        if (length >= MAX_PATH)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return String();
    }
    // Windows 95, 98 and Me, and an NT without the wide call: the ANSI call.
    char buffer[256];
    return wholeAnsiPath(buffer, GetModuleFileNameA(nullptr, buffer, sizeof buffer), sizeof buffer);
}

} // namespace

String modulePath()
{
    if (path.isEmpty())
        path = readModulePath();
    return path;
}
