// setup.exe as Windows 95 and NT 4.0 run it, built for the scenarios only: the one lookup
// finds none of the functions those systems lack (or have only as stubs), so that every
// older path beside them runs on the test machine's Windows.
#include "setup/SetupApp.h"

#include "foundation/SystemLibrary.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    static const char* const newer[] = {
        "SetDefaultDllDirectories", "SetDllDirectoryA",       "GetLongPathNameA",     "GetModuleFileNameW",
        "GetTempPathW",             "GetShortPathNameW",      "RegQueryValueExW",     "RegSetValueExW",
        "RegEnumValueW",            "FindActCtxSectionStringA", "SetSecurityDescriptorControl",
        "AddAccessAllowedAceEx",    "SHGetFolderPathA",       "SystemFunction036",    nullptr,
    };
    hideSystemFunctions(newer);
    initCommonControls();
    SetupApp application;
    return application.main();
}
