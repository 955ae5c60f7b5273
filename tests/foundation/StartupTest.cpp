// Tests of the start-up settings: in a fresh process (probe.exe) and in this one.
#include "foundation/Process.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

// The value of "name=" in the lines of text.
std::string field(const std::string& text, const char* name)
{
    const std::string key = std::string(name) + "=";
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return "(missing)";
    return text.substr(at + key.size(), text.find('\n', at) - at - key.size());
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

    // Hand the child what the settings must change: a short PATH entry, TZ, no error mode.
    const String oldPath = std::getenv("PATH");
    _putenv((String("PATH=") + shortBin + ";;" + oldPath).c_str());
    _putenv("TZ=EST5EDT");
    const UINT oldMode = SetErrorMode(0);
    char line[1024];
    lstrcpynA(line, (probeProgram() + " startup \"" + temp.path() + "report.txt\"").c_str(), sizeof line);
    const bool ran = runProcess(line, false, nullptr, true);
    SetErrorMode(oldMode);
    _putenv("TZ=");
    _putenv((String("PATH=") + oldPath).c_str());

    ASSERT_TRUE(ran) << GetLastError();
    const std::string report = readFile(temp + "report.txt");
    EXPECT_EQ(field(report, "TZ"), "(unset)");
    EXPECT_EQ(field(report, "PATH"), std::string((longBin + ";;" + oldPath).c_str()));
    EXPECT_NE(field(report, "locale"), "C");
    EXPECT_EQ(std::strtoul(field(report, "errormode").c_str(), nullptr, 16) & 0x8001, 0x8001u) << report;
    EXPECT_EQ(field(report, "newhandler"), "set");
}

TEST(Startup, AllocationFailureThrowsBadAllocation)
{
    try {
        // Half the address space: more than a process of either pointer size gets in one piece.
        const volatile size_t half = std::numeric_limits<size_t>::max() / 2;
        ::operator delete(::operator new(half));
        FAIL() << half << " bytes were allocated";
    } catch (const std::bad_alloc& e) {
        EXPECT_STREQ(e.what(), "bad allocation");
    }
}
