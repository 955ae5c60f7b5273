// Tests of the long forms of 8.3 names.
#include "foundation/LongPathName.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

String shortName(const String& path)
{
    char buffer[MAX_PATH];
    return String(buffer, static_cast<int>(GetShortPathNameA(path.c_str(), buffer, sizeof buffer)));
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
        writeFile(longPath + "\\Some File.txt", "x");
        shortPath = shortName(longPath);
    }
};

String fallback(const String& path)
{
    char buffer[256];
    const int length = longPathNameByComponents(path.c_str(), buffer, sizeof buffer);
    EXPECT_EQ(length, lstrlenA(buffer));
    return String(buffer);
}

} // namespace

TEST(LongPathName, LongNameFallbackResolvesComponentByComponent)
{
    LongFolder folder;
    ASSERT_GE(folder.shortPath.indexOf('~'), 0) << folder.shortPath.c_str();
    const String longFile = folder.longPath + "\\Some File.txt";

    // Short directory, '/' separator, name in another letter case: the names on disk.
    EXPECT_STREQ(fallback(folder.shortPath + "/SOME FILE.TXT").c_str(), longFile.c_str());
    EXPECT_STREQ(fallback(shortName(longFile)).c_str(), longFile.c_str());
    // A missing last component is kept as written, after the resolved directory.
    EXPECT_STREQ(fallback(folder.shortPath + "\\Missing.TXT").c_str(), (folder.longPath + "\\Missing.TXT").c_str());
    // A drive, a missing folder and empty components stay as written.
    EXPECT_STREQ(fallback("c:/trelliq-none~1//x").c_str(), "c:\\trelliq-none~1\\\\x");
    // The system function agrees where the path exists.
    char buffer[256];
    ASSERT_NE(getLongPathName(shortName(longFile).c_str(), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, longFile.c_str());

}

TEST(LongPathName, ALongFormThatDoesNotFitIsNeverCut)
{
    LongFolder folder;
    // Missing components stay as written: a long form of any length without files.
    const std::string exact = "c:\\" + std::string(252, 'a');
    const struct {
        String path;
        int size;
        int result;
        const char* written; // null: the path itself
    } cases[] = {
        {exact.c_str(), 256, 255, nullptr},
        {(exact + "b").c_str(), 256, 257, ""},
        {("c:\\" + std::string(296, 'c')).c_str(), 512, 299, nullptr},
        {folder.shortPath, 10, folder.longPath.length() + 1, ""},
        {folder.shortPath, folder.longPath.length(), folder.longPath.length() + 1, ""},
        {folder.shortPath, folder.longPath.length() + 1, folder.longPath.length(), folder.longPath.c_str()},
    };
    for (const auto& c : cases) {
        char buffer[512];
        std::memset(buffer, 'z', sizeof buffer);
        EXPECT_EQ(longPathNameByComponents(c.path.c_str(), buffer, c.size), c.result) << c.path.c_str();
        EXPECT_STREQ(buffer, c.written ? c.written : c.path.c_str()) << c.path.c_str();
    }
}

TEST(LongPathName, ExpandShortPathEntriesKeepsEmptyAndUnknownEntries)
{
    LongFolder folder;
    _putenv((String("TRQ_TEST_LIST=") + folder.shortPath + "\\bin;;D:\\tools;C:\\TRELLI~9\\none;").c_str());
    expandShortPathEntries("TRQ_TEST_LIST");
    const String expected = folder.longPath + "\\bin;;D:\\tools;C:\\TRELLI~9\\none;";
    EXPECT_STREQ(std::getenv("TRQ_TEST_LIST"), expected.c_str());
    char inherited[512]; // what child processes get
    GetEnvironmentVariableA("TRQ_TEST_LIST", inherited, sizeof inherited);
    EXPECT_STREQ(inherited, expected.c_str());
    _putenv("TRQ_TEST_LIST=");

    expandShortPathEntries("TRQ_TEST_UNSET");
    EXPECT_EQ(std::getenv("TRQ_TEST_UNSET"), nullptr);
}
