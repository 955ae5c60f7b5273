// Tests of the OS queries: version, own path, file versions, strings and long names.
#include "foundation/OperatingSystem.h"
#include "foundation/Win.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

String shortName(const String& path)
{
    char buffer[MAX_PATH];
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return String(buffer, static_cast<int>(length));
}

// A folder with a long name holding "Some File.txt" and "bin", and its 8.3 form.
struct LongFolder {
    TempFolder temp{"long names"};
    String longPath = temp + "Trelliq Long Folder Name";
    String shortPath;
    LongFolder()
    {
        CreateDirectoryA(longPath.c_str(), nullptr);
        CreateDirectoryA((longPath + "\\bin").c_str(), nullptr);
        TempFolder::write(longPath + "\\Some File.txt", "x");
        shortPath = shortName(longPath);
    }
};

String fallback(const String& path, int size = 256)
{
    char buffer[256];
    const int length = longPathNameByComponents(path.c_str(), buffer, size);
    EXPECT_EQ(length, lstrlenA(buffer));
    return String(buffer);
}

} // namespace

TEST(OperatingSystem, WindowsNTAndModulePath)
{
    EXPECT_TRUE(isWindowsNT()); // Wine presents itself as an NT version
    const String path = modulePath();
    EXPECT_EQ(path.toLowerCase().indexOf(String("\\test_foundation.exe")), path.length() - 20) << path.c_str();
    EXPECT_EQ(path.charAt(1), ':');
    EXPECT_EQ(modulePath().compareTo(path), 0);
}

TEST(OperatingSystem, FileVersionFromTheVersionResourceOrEmpty)
{
    EXPECT_STREQ(fileVersion(modulePath().c_str()).c_str(), "4.71.2900.0");
    const String self = modulePath();
    const String probe = self.substring(0, self.lastIndexOf('\\') + 1) + "probe.exe";
    ASSERT_NE(GetFileAttributesA(probe.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_STREQ(fileVersion(probe.c_str()).c_str(), "");
    EXPECT_STREQ(fileVersion("C:\\trelliq-no-such-file.dll").c_str(), "");
}

TEST(OperatingSystem, LoadStringFromTheExecutablesTable)
{
    EXPECT_STREQ(loadString(57344).c_str(), "Trelliq Setup");
    try {
        loadString(4242);
        FAIL() << "a missing string loaded";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.title(), "Win error");
        EXPECT_EQ(e.text().indexOf(String("LoadString failure on 4242")), 0) << e.text().c_str();
    }
}

TEST(OperatingSystem, LongNameFallbackResolvesComponentByComponent)
{
    LongFolder folder;
    ASSERT_GE(folder.shortPath.indexOf('~'), 0) << folder.shortPath.c_str();
    const String longFile = folder.longPath + "\\Some File.txt";

    // Short directory, '/' separator, file name in another letter case: the disk's names.
    EXPECT_STREQ(fallback(folder.shortPath + "/SOME FILE.TXT").c_str(), longFile.c_str());
    // Both components short.
    EXPECT_STREQ(fallback(shortName(longFile)).c_str(), longFile.c_str());
    // A missing last component is kept as written, after the resolved directory.
    EXPECT_STREQ(fallback(folder.shortPath + "\\Missing.TXT").c_str(), (folder.longPath + "\\Missing.TXT").c_str());
    // A drive and a missing folder stay as written; so do empty components.
    EXPECT_STREQ(fallback("c:/trelliq-none~1//x").c_str(), "c:\\trelliq-none~1\\\\x");
    // The system function, where it exists, agrees on what exists.
    char buffer[256];
    ASSERT_NE(getLongPathName(shortName(longFile).c_str(), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, longFile.c_str());
}

TEST(OperatingSystem, LongNameFallbackNeverWritesPastTheBuffer)
{
    LongFolder folder;
    char buffer[16];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(longPathNameByComponents(folder.shortPath.c_str(), buffer, 10), 9);
    EXPECT_EQ(buffer[9], '\0');
    EXPECT_EQ(buffer[10], 'z');
    EXPECT_EQ(String(buffer).compareTo(folder.longPath.substring(0, 9)), 0);
}

TEST(OperatingSystem, ExpandShortPathEntriesKeepsEmptyAndUnknownEntries)
{
    LongFolder folder;
    const String list = folder.shortPath + "\\bin;;D:\\tools;C:\\TRELLI~9\\none;";
    _putenv((String("TRQ_TEST_LIST=") + list).c_str());
    expandShortPathEntries("TRQ_TEST_LIST");
    const String expected = folder.longPath + "\\bin;;D:\\tools;C:\\TRELLI~9\\none;";
    EXPECT_STREQ(std::getenv("TRQ_TEST_LIST"), expected.c_str());
    // The process environment children inherit sees it too.
    char inherited[512];
    GetEnvironmentVariableA("TRQ_TEST_LIST", inherited, sizeof inherited);
    EXPECT_STREQ(inherited, expected.c_str());
    _putenv("TRQ_TEST_LIST=");

    expandShortPathEntries("TRQ_TEST_UNSET");
    EXPECT_EQ(std::getenv("TRQ_TEST_UNSET"), nullptr);
}
