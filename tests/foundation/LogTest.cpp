// Log: appended lines with their time, shared with a second writer, and a log that cannot
// be opened.
#include "foundation/Log.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(Log, AppendsTimedLinesThatASecondWriterSharesAndKeepsTheLastError)
{
    TempFolder temp("log");
    const String path = temp + "run.log";
    writeFile(path, "earlier run\r\n");
    ASSERT_TRUE(Log::open(path.c_str()));
    SetLastError(ERROR_ACCESS_DENIED);
    Log::write("first");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "writing the log changes no report";

    // The relaunched uninstaller appends while its parent keeps the file open.
    HANDLE second = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(second, INVALID_HANDLE_VALUE) << "the log is shared for writing";
    SetFilePointer(second, 0, nullptr, FILE_END);
    DWORD written;
    WriteFile(second, "from the copy\r\n", 15, &written, nullptr);
    CloseHandle(second);
    Log::write("second");
    Log::close();
    Log::write("after the close");

    const std::string text = readFile(path);
    ASSERT_EQ(text.rfind("earlier run\r\n", 0), 0u) << text;
    const std::string rest = text.substr(13);
    // "YYYY-MM-DD HH:MM:SS first\r\nfrom the copy\r\nYYYY-MM-DD HH:MM:SS second\r\n"
    ASSERT_EQ(rest.size(), 20 + 7 + 15 + 20 + 8) << text;
    EXPECT_EQ(rest.substr(20, 7), "first\r\n");
    EXPECT_EQ(rest.substr(27, 15), "from the copy\r\n");
    EXPECT_EQ(rest.substr(62, 8), "second\r\n");
    for (int at : {0, 42}) {
        const std::string stamp = rest.substr(at, 20);
        EXPECT_TRUE(stamp[4] == '-' && stamp[7] == '-' && stamp[10] == ' ' && stamp[13] == ':' && stamp[16] == ':'
                    && stamp[19] == ' ')
            << stamp;
        EXPECT_EQ(stamp.substr(0, 2), "20") << stamp;
    }

    EXPECT_FALSE(Log::open((temp + "no such folder\\run.log").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(Log::isOpen());
}
