// removeOwnFolder: the uninstaller's copy and its folder, deleted at the next start of
// Windows where they cannot go now; on Windows 98 through wininit.ini.
#include "setup/Relaunch.h"

#include "foundation/WindowsVersion.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const char* const sessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

std::string shortPath(const std::string& path)
{
    char buffer[MAX_PATH];
    const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? buffer : "<no short name for " + path + ">";
}

} // namespace

// Runs in the copy of the next test, for which the prefix reports Windows 98.
TEST(RelaunchOnWindows98, TheRunningCopyAndItsFolderGoToWininitIni)
{
    const char* given = std::getenv("TRELLIQ_OWN_FOLDER");
    if (!given)
        GTEST_SKIP() << "runs in the Windows 98 copy only";
    ASSERT_FALSE(isWindowsNT());
    const std::string folder = given;
    const std::string copy = folder + "uninstall.exe";
    const std::string bare = folder.substr(0, folder.size() - 1);
    // The copy still runs: its file is open without sharing, so neither it nor the folder
    // can go now.
    const HANDLE running = CreateFileA(copy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    const std::string shortCopy = shortPath(copy);
    const std::string shortFolder = shortPath(bare);
    removeOwnFolder(String(folder.c_str()), String(copy.c_str()));
    CloseHandle(running);

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string text = testSupport::contents(std::string(windows) + "\\wininit.ini");
    const size_t file = text.find("nul=" + shortCopy + "\r\n");
    const size_t folderLine = text.find("nul=" + shortFolder + "\r\n");
    EXPECT_NE(file, std::string::npos) << text;
    EXPECT_NE(folderLine, std::string::npos) << text;
    EXPECT_LT(file, folderLine) << "the file first, so that the folder is empty at its turn";
}

TEST(Relaunch, OnWindows98TheUninstallersCopyWaitsInWininitIni)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "trq0123456789abcdef\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    testSupport::write(folder + "uninstall.exe", "MZ");
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string wininit = std::string(windows) + "\\wininit.ini";
    const bool hadWininit = GetFileAttributesA(wininit.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string before = testSupport::contents(wininit);
    // Wine's MoveFileExA delays also when it reports Windows 98; a pending-operations value
    // of the wrong type makes it fail, as Windows 95's and 98's always does.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, sessionManager, 0, KEY_READ | KEY_WRITE, &key), ERROR_SUCCESS);
    char pending[16384];
    DWORD pendingSize = sizeof pending;
    DWORD pendingType = 0;
    const bool hadPending = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &pendingType,
                                             reinterpret_cast<BYTE*>(pending), &pendingSize) == ERROR_SUCCESS;
    RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_SZ, reinterpret_cast<const BYTE*>("blocked"), 8);

    SetEnvironmentVariableA("TRELLIQ_OWN_FOLDER", folder.c_str());
    const DWORD exitCode = testSupport::runAgain("RelaunchOnWindows98.*", "test_setup_win98_relaunch.exe");
    SetEnvironmentVariableA("TRELLIQ_OWN_FOLDER", nullptr);

    if (hadPending)
        RegSetValueExA(key, "PendingFileRenameOperations", 0, pendingType, reinterpret_cast<BYTE*>(pending), pendingSize);
    else
        RegDeleteValueA(key, "PendingFileRenameOperations");
    RegCloseKey(key);
    if (hadWininit)
        testSupport::write(wininit, before);
    else
        DeleteFileA(wininit.c_str());
    DeleteFileA((folder + "uninstall.exe").c_str());
    RemoveDirectoryA(folder.c_str());
    EXPECT_EQ(exitCode, 0u) << "the Windows 98 copy's test failed";
}
