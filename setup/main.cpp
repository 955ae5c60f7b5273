// The entry point of setup.exe: installer, or uninstaller when named uninstall.exe. The
// process's exit code tells the run's outcome (setup/ExitCode.h).
#include "setup/SetupApp.h"

#include "foundation/SystemLibrary.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The "Copy Files" dialog's progress bar is a common control.
    initCommonControls();
    SetupApp application;
    return application.main();
}
