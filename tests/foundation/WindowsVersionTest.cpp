// Tests of the version queries and the program's own path.
#include "foundation/ModulePath.h"
#include "foundation/WindowsVersion.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

TEST(WindowsVersion, WindowsNTModulePathAndFileVersions)
{
    EXPECT_TRUE(isWindowsNT()); // Wine presents itself as a Windows NT version
    const String path = modulePath();
    EXPECT_EQ(path.toLowerCase().indexOf(String(":\\")), 1) << path.c_str();
    EXPECT_EQ(path.toLowerCase().indexOf(String("\\test_foundation.exe")), path.length() - 20) << path.c_str();

    EXPECT_STREQ(fileVersion(path.c_str()).c_str(), "4.71.2900.0");
    const String probe = probeProgram().substring(1, probeProgram().length() - 1);
    ASSERT_TRUE(exists(probe));
    EXPECT_STREQ(fileVersion(probe.c_str()).c_str(), "");
    EXPECT_STREQ(fileVersion("C:\\trelliq-no-such-file.dll").c_str(), "");
}
