// removalRefusal: which folders the uninstaller will not remove.
#include "setup/RemovalGuard.h"

#include "host/Shell.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

namespace {

String freshFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char text[MAX_PATH + 64];
    std::snprintf(text, sizeof text, "%strelliq guard %s %lu\\", temp, name, GetCurrentProcessId());
    CreateDirectoryA(text, nullptr);
    return text;
}

void writeFile(const String& path)
{
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
}

} // namespace

TEST(RemovalGuard, RootsAndTheSystemsFoldersAreRefused)
{
    EXPECT_STREQ("no folder is given", removalRefusal("").c_str());
    EXPECT_STREQ("it is the root of a drive", removalRefusal("C:\\").c_str());
    EXPECT_STREQ("it is the root of a drive", removalRefusal("c:/").c_str());
    EXPECT_STREQ("it is the root of a drive", removalRefusal("C:\\Windows\\..").c_str());
    EXPECT_STREQ("it is the root of a network share", removalRefusal("\\\\server\\share").c_str());
    EXPECT_STREQ("it is the root of a network share", removalRefusal("//server/share/").c_str());
    EXPECT_STREQ("", removalRefusal("\\\\server\\share\\missing\\").c_str());

    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    EXPECT_STREQ("it is the Windows folder", removalRefusal(folder).c_str());
    EXPECT_STREQ("it is the Windows folder", removalRefusal(String(folder) + "\\").c_str());
    GetSystemDirectoryA(folder, sizeof folder);
    EXPECT_STREQ("it is the system folder", removalRefusal(folder).c_str());

    String path;
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAM_FILES, path));
    EXPECT_STREQ("it is a Program Files folder", removalRefusal(path).c_str());
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROFILE, path));
    EXPECT_STREQ("it is the user's profile folder", removalRefusal(path.toLowerCase()).c_str());
}

TEST(RemovalGuard, OnlyAFolderWithTheMarksOfAnInstallMayGo)
{
    const String folder = freshFolder("product");
    const char* const notHere = "it does not hold the product's uninstall.exe, bin\\trqc.exe and "
                                "bin\\coverageBrowser.exe";
    EXPECT_STREQ(notHere, removalRefusal(folder).c_str());
    // The uninstaller and a bin folder, as any folder the uninstaller runs from with a bin.
    CreateDirectoryA((folder + "bin").c_str(), nullptr);
    writeFile(folder + "uninstall.exe");
    writeFile(folder + "bin\\tool.exe");
    EXPECT_STREQ(notHere, removalRefusal(folder).c_str());
    writeFile(folder + "bin\\trqc.exe");
    EXPECT_STREQ(notHere, removalRefusal(folder).c_str());
    writeFile(folder + "bin\\coverageBrowser.exe");
    EXPECT_STREQ("", removalRefusal(folder).c_str());
    EXPECT_STREQ("", removalRefusal(folder.substring(0, folder.length() - 1)).c_str());
    // A file is not a product folder.
    EXPECT_STREQ(notHere, removalRefusal(folder + "uninstall.exe").c_str());
    // What does not exist is left to the removal, which fails on its own.
    EXPECT_STREQ("", removalRefusal(folder + "missing\\").c_str());

    for (const char* file : {"uninstall.exe", "bin\\tool.exe", "bin\\trqc.exe", "bin\\coverageBrowser.exe"})
        DeleteFileA((folder + file).c_str());
    RemoveDirectoryA((folder + "bin").c_str());
    RemoveDirectoryA(folder.c_str());
}
