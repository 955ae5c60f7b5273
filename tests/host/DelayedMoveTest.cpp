// Tests of delayedMove: pending operations on Windows NT, wininit.ini on Windows 95.
#include "host/DelayedMove.h"

#include "foundation/WindowsVersion.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const sessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
const char* const pendingName = "PendingFileRenameOperations";

// Keeps the system's pending file operations as they were before the test.
class PendingOperations {
public:
    PendingOperations()
    {
        DWORD size = 0;
        had_ = RegGetValueA(HKEY_LOCAL_MACHINE, sessionManager, pendingName, RRF_RT_ANY, &type_, nullptr, &size) ==
               ERROR_SUCCESS;
        saved_.resize(size);
        if (had_)
            RegGetValueA(HKEY_LOCAL_MACHINE, sessionManager, pendingName, RRF_RT_ANY, &type_, saved_.data(), &size);
    }
    ~PendingOperations()
    {
        if (had_)
            RegSetKeyValueA(HKEY_LOCAL_MACHINE, sessionManager, pendingName, type_, saved_.data(), saved_.size());
        else
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, sessionManager, pendingName);
    }

    // The strings of the REG_MULTI_SZ value now.
    static std::vector<std::string> entries()
    {
        std::vector<char> data(65536);
        DWORD size = data.size();
        std::vector<std::string> result;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, sessionManager, pendingName, RRF_RT_REG_MULTI_SZ, nullptr, data.data(),
                         &size) != ERROR_SUCCESS)
            return result;
        for (const char* p = data.data(); p < data.data() + size;) {
            result.push_back(p);
            p += result.back().size() + 1;
        }
        return result;
    }

private:
    bool had_;
    DWORD type_ = REG_NONE;
    std::vector<char> saved_;
};

std::string tempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

void touch(const std::string& path)
{
    std::ofstream(path) << "x";
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string shortPath(const std::string& path)
{
    char buffer[MAX_PATH];
    const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? buffer : "<no short name for " + path + ">";
}

} // namespace

TEST(DelayedMove, ADelayedDeletionIsRecordedAsPendingAndAPlainMoveHappensNow)
{
    ASSERT_TRUE(isWindowsNT());
    PendingOperations restore;
    const std::string folder = tempPath("Trelliq Delayed");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\uninstall.exe";
    const std::string moved = folder + "\\moved.exe";
    DeleteFileA(moved.c_str());
    touch(file);

    ASSERT_TRUE(delayedMove(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    const std::vector<std::string> entries = PendingOperations::entries();
    bool recorded = false;
    for (size_t i = 0; i + 1 < entries.size(); i += 2)
        recorded = recorded || (entries[i] == "\\??\\" + file && entries[i + 1].empty());
    EXPECT_TRUE(recorded) << "no deletion of " << file << " among " << entries.size() << " pending strings";
    EXPECT_TRUE(exists(file)) << "deleted only at the restart";

    ASSERT_TRUE(delayedMove(file.c_str(), moved.c_str(), 0));
    EXPECT_FALSE(exists(file));
    EXPECT_TRUE(exists(moved));

    SetLastError(0);
    EXPECT_FALSE(delayedMove(file.c_str(), moved.c_str(), 0)) << "moved away already";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    DeleteFileA(moved.c_str());
}

// Runs in a copy of this program for which the prefix reports Windows 98 (see the next
// test); skipped in the ordinary run.
TEST(DelayedMoveOnWindows95, TheRequestsGoToWininitIni)
{
    const char* file = std::getenv("TRELLIQ_WIN95_FILE");
    const char* newName = std::getenv("TRELLIQ_WIN95_NEW");
    if (!file || !newName)
        GTEST_SKIP() << "runs in the Windows 98 copy only";
    ASSERT_FALSE(isWindowsNT()) << "the prefix reports Windows 98 to this program";
    PendingOperations restore;
    // Wine's MoveFileExA delays moves also when it reports Windows 98; a pending-operations
    // value of the wrong type makes it fail, as Windows 95's MoveFileExA always does.
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, sessionManager, pendingName, REG_SZ, "blocked", 8),
              ERROR_SUCCESS);
    EXPECT_TRUE(delayedMove(file, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_TRUE(delayedMove(file, newName, MOVEFILE_DELAY_UNTIL_REBOOT));
}

TEST(DelayedMove, OnWindows95TheRequestGoesToWininitIniWithShortNames)
{
    ASSERT_TRUE(isWindowsNT());
    const std::string folder = tempPath("Trelliq Windows95 Folder");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\uninstall program.exe";
    const std::string newName = folder + "\\replaced library.dll";
    touch(file);
    touch(newName);

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string wininit = std::string(windows) + "\\wininit.ini";
    std::stringstream before;
    const bool hadWininit = exists(wininit);
    before << std::ifstream(wininit, std::ios::binary).rdbuf();
    // Another program's deletion waits already, and a section follows: both stay.
    const std::string others = "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n\r\n[Other]\r\nkept=1";
    std::ofstream(wininit, std::ios::binary) << others;

    SetEnvironmentVariableA("TRELLIQ_WIN95_FILE", file.c_str());
    SetEnvironmentVariableA("TRELLIQ_WIN95_NEW", newName.c_str());
    // A copy of this program for which alone the prefix reports Windows 98: the other test
    // programs keep seeing Windows NT.
    const DWORD exitCode = testSupport::runAgain("DelayedMoveOnWindows95.*", "test_host_win98.exe");
    SetEnvironmentVariableA("TRELLIQ_WIN95_FILE", nullptr);
    SetEnvironmentVariableA("TRELLIQ_WIN95_NEW", nullptr);

    std::stringstream after;
    after << std::ifstream(wininit, std::ios::binary).rdbuf();
    if (hadWininit)
        std::ofstream(wininit, std::ios::binary) << before.str();
    else
        DeleteFileA(wininit.c_str());

    EXPECT_EQ(exitCode, 0u) << "the Windows 98 copy's test failed";
    const std::string shortFile = shortPath(file);
    EXPECT_NE(shortFile, file) << "the entry is to use the short name";
    const std::string text = after.str();
    // Every deletion is a line "nul=": a second one must not replace the first.
    EXPECT_EQ(text, "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n\r\nnul=" + shortFile + "\r\n" + shortPath(newName) + "="
                        + shortFile + "\r\n[Other]\r\nkept=1");
    EXPECT_TRUE(exists(file)) << "nothing is deleted before the restart";
    DeleteFileA(file.c_str());
    DeleteFileA(newName.c_str());
}
