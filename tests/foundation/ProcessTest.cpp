// Tests of runProcess with the helper program probe.exe.
#include "foundation/OperatingSystem.h"
#include "foundation/Process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The command line of probe.exe (next to this test program) with its arguments.
String probe(const char* arguments)
{
    const String self = modulePath();
    return String("\"") + self.substring(0, self.lastIndexOf('\\') + 1) + "probe.exe\" " + arguments;
}

bool run(const String& commandLine, bool wait, STARTUPINFOA* startupInfo = nullptr)
{
    char line[512];
    lstrcpynA(line, commandLine.c_str(), sizeof line);
    return runProcess(line, false, startupInfo, wait);
}

} // namespace

TEST(Process, WaitingReportsTheExitCodeAsSuccessOrAborted)
{
    SetLastError(0);
    EXPECT_FALSE(run(probe("exit 3"), true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROCESS_ABORTED));

    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_MINIMIZE;
    EXPECT_TRUE(run(probe("exit 0"), true, &startup));
}

TEST(Process, StartingWithoutWaitingSucceedsWhateverTheExitCode)
{
    EXPECT_TRUE(run(probe("exit 3"), false));
}

TEST(Process, ACommandLineNamingNoProgramFailsWithTheSystemsError)
{
    SetLastError(0);
    EXPECT_FALSE(run("trelliq-no-such-program.exe argument", true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
