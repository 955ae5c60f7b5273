// modulePath: GetModuleFileNameW in the code page (GetModuleFileNameA where the system has no
// wide call), read once.
#include "foundation/ModulePath.h"

#include "foundation/CodePagePath.h"
#include "foundation/SystemLibrary.h"

#include <windows.h>

namespace {

// The program's path once read (constant-initialized: no start-up code, no guard).
String path;

String readModulePath()
{
    wchar_t wide[MAX_PATH];
    typedef DWORD(WINAPI * ModuleFileNameFunction)(HMODULE, wchar_t*, DWORD);
    const auto moduleFileName =
        reinterpret_cast<ModuleFileNameFunction>(reinterpret_cast<void*>(systemFunction("kernel32.dll", "GetModuleFileNameW")));
    const DWORD length = moduleFileName ? moduleFileName(nullptr, wide, MAX_PATH) : 0;
    if (length > 0 && length < MAX_PATH)
        return codePagePath(wide);
    if (moduleFileName && (length >= MAX_PATH || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)) {
        if (length >= MAX_PATH)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return String();
    }
    // Windows 95, 98 and Me: the ANSI call is the system's own.
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
