// runAsWindows98: runs some tests of this program in a copy for which alone the prefix
// reports Windows 98, so that the other test programs keep seeing Windows NT.
#pragma once

#include <windows.h>

#include <string>

// Runs the copy (named copyName in the temporary folder) with --gtest_filter=filter and
// returns its exit code (1 when it could not start).
inline DWORD runAsWindows98(const char* copyName, const char* filter)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string copy = std::string(temp) + copyName;
    if (!CopyFileA(self, copy.c_str(), FALSE))
        return 1;
    const std::string appKey = std::string("Software\\Wine\\AppDefaults\\") + copyName;
    RegSetKeyValueA(HKEY_CURRENT_USER, appKey.c_str(), "Version", REG_SZ, "win98", 6);

    std::string commandLine = "\"" + copy + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    DWORD exitCode = 1;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
    DeleteFileA(copy.c_str());
    return exitCode;
}
