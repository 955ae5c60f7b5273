// Tests of runProcess with the helper program probe.exe.
#include "foundation/Process.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

namespace {

bool run(const String& commandLine, bool wait, STARTUPINFOA* startupInfo = nullptr)
{
    char line[512];
    lstrcpynA(line, commandLine.c_str(), sizeof line);
    return runProcess(line, false, startupInfo, wait);
}

} // namespace

TEST(Process, WaitingTurnsTheExitCodeIntoSuccessOrAborted)
{
    SetLastError(0);
    EXPECT_FALSE(run(probeProgram() + " exit 3", true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROCESS_ABORTED));

    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_MINIMIZE;
    EXPECT_TRUE(run(probeProgram() + " exit 0", true, &startup));
    // Started and not waited for, the exit code is never seen.
    EXPECT_TRUE(run(probeProgram() + " exit 3", false));
}

TEST(Process, ACommandLineNamingNoProgramFailsWithTheSystemsError)
{
    SetLastError(0);
    EXPECT_FALSE(run("trelliq-no-such-program.exe argument", true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
