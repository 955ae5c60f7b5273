// A stand-in for Developer Studio 6.0's msdev.exe: records how it was started and, asked to
// exit at once, writes the directory lists the real one writes on its first run. With the
// value "Hang" in its record it writes nothing and ends only when the event
// "TrelliqTest StandIn Release" is set (or after 30 s), as the real one does when a dialog
// of it waits for an answer.
#include <windows.h>

#include <cstring>

namespace {

void putString(const char* key, const char* name, const char* text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text, std::strlen(text) + 1);
}

} // namespace

int main()
{
    const char* const record = "Software\\TrelliqTest\\StandIn";
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    const DWORD show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : 0xFFFF;
    putString(record, "CommandLine", GetCommandLineA());
    RegSetKeyValueA(HKEY_CURRENT_USER, record, "ShowWindow", REG_DWORD, &show, sizeof show);
    if (RegGetValueA(HKEY_CURRENT_USER, record, "Hang", RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "TrelliqTest StandIn Release");
        WaitForSingleObject(release, 30 * 1000);
        return 0;
    }
    // Late enough that a caller who does not wait sees no lists.
    Sleep(500);
    if (std::strstr(GetCommandLineA(), " -ex ApplicationExit")) {
        const char* const directories =
            "Software\\Microsoft\\DevStudio\\6.0\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
        putString(directories, "Path Dirs", "C:\\MSDEV\\bin;C:\\WINDOWS\\system32");
        putString(directories, "Library Dirs", "C:\\MSDEV\\lib");
    }
    return 0;
}
