// The entry point of setup.exe: installer, or uninstaller when named uninstall.exe.
#include "setup/SetupApp.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The "Copy Files" dialog's progress bar is a common control.
    InitCommonControls();
    SetupApp application;
    application.main();
    return 0;
}
