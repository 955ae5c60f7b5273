// Tests of the start-up settings: in a fresh process (probe.exe) and in this one.
#include "foundation/OperatingSystem.h"
#include "foundation/Process.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

// The value of "name=" in the lines of text.
std::string field(const std::string& text, const char* name)
{
    const std::string key = std::string(name) + "=";
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return "(missing)";
    const size_t end = text.find('\n', at);
    return text.substr(at + key.size(), end - at - key.size());
}

std::string readAll(const String& path)
{
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

} // namespace

TEST(Startup, AProgramLinkingTheFoundationStartsWithTheSettings)
{
    TempFolder temp("startup");
    const String longBin = temp + "Trelliq Startup Folder";
    CreateDirectoryA(longBin.c_str(), nullptr);
    char shortBin[MAX_PATH];
    GetShortPathNameA(longBin.c_str(), shortBin, sizeof shortBin);
    ASSERT_NE(std::strchr(shortBin, '~'), nullptr) << shortBin;

    // Give the child what the settings must change: a short PATH entry, TZ, no error mode.
    const String oldPath = std::getenv("PATH");
    _putenv((String("PATH=") + shortBin + ";;" + oldPath).c_str());
    _putenv("TZ=EST5EDT");
    const UINT oldMode = SetErrorMode(0);

    const String self = modulePath();
    const String report = temp + "report.txt";
    char line[1024];
    lstrcpynA(line, (String("\"") + self.substring(0, self.lastIndexOf('\\') + 1) + "probe.exe\" startup \"" + report + "\"").c_str(),
              sizeof line);
    const bool ran = runProcess(line, false, nullptr, true);

    SetErrorMode(oldMode);
    _putenv("TZ=");
    _putenv((String("PATH=") + oldPath).c_str());

    ASSERT_TRUE(ran) << GetLastError();
    const std::string text = readAll(report);
    EXPECT_EQ(field(text, "TZ"), "(unset)");
    EXPECT_EQ(field(text, "PATH"), std::string((longBin + ";;" + oldPath).c_str()));
    EXPECT_NE(field(text, "locale"), "C");
    EXPECT_EQ(std::strtoul(field(text, "errormode").c_str(), nullptr, 16) & 0x8001, 0x8001u) << text;
    EXPECT_EQ(field(text, "newhandler"), "set");
}

TEST(Startup, AllocationFailureThrowsBadAllocation)
{
    try {
        // More than a 32-bit process can ever get in one piece.
        void* volatile block = ::operator new(0x7ff00000u);
        ::operator delete(block);
        FAIL() << "2 GB were allocated";
    } catch (const std::bad_alloc& e) {
        EXPECT_STREQ(e.what(), "bad allocation");
    }
}

TEST(Startup, LocaleIsTheUsersDefault)
{
    const char* locale = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(locale, nullptr);
    EXPECT_STRNE(locale, "C");
}
