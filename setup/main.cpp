// The entry point of setup.exe: installer, or uninstaller when named uninstall.exe. The
// process's exit code tells the run's outcome (setup/ExitCode.h).
#include "setup/SetupApp.h"

#include "foundation/Exception.h"
#include "foundation/SystemLibrary.h"

#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The "Copy Files" dialog's progress bar is a common control.
    initCommonControls();
    SetupApp application;
    return application.main();
}

// What the C++ library's threads, locks and condition variables throw when the system
// refuses one (the link maps std::__throw_system_error here, see CMakeLists.txt): one of our
// exceptions in place of std::system_error, whose std::string and error categories would add
// 65 KB to the program. Only the decoder thread's start and its queue's lock can get here;
// a thread that cannot start leaves the decoding on the program's thread.
extern "C" [[noreturn]] void trelliqSystemError(int code)
{
    throw RuntimeException(String("thread: ") + std::strerror(code));
}
