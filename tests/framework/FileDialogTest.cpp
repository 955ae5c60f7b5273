// FileDialog: the structure size each Windows's common dialogs take.
#include "framework/FileDialog.h"
#include "tests/host/TestSupport.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Runs in the copies of the next test, for which the prefix reports an older Windows.
TEST(FileDialogOnOlderWindows, TakesTheWindows95Layout)
{
    if (!std::getenv("TRELLIQ_OLDER_WINDOWS"))
        GTEST_SKIP() << "runs in the older Windows' copies only";
    // comdlg32 before 5.0 refuses any other size: the dialog would not open at all.
    EXPECT_EQ(FileDialog::structSize(), static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
}

TEST(FileDialog, StructureSizeFollowsTheWindowsVersion)
{
    EXPECT_EQ(FileDialog::structSize(), static_cast<DWORD>(sizeof(OPENFILENAMEA))) << "Windows 2000 and later";
    SetEnvironmentVariableA("TRELLIQ_OLDER_WINDOWS", "1");
    for (const char* version : {"win95", "win98", "nt40"}) {
        EXPECT_EQ(testSupport::runAgain("FileDialogOnOlderWindows.*", "test_framework_old.exe", version), 0u)
            << "the copy that sees " << version;
    }
    SetEnvironmentVariableA("TRELLIQ_OLDER_WINDOWS", nullptr);
}

} // namespace
