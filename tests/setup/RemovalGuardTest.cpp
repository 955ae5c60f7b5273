// removalRefusal: which folders the uninstaller will not remove.
#include "setup/RemovalGuard.h"

#include "host/RegistryKey.h"
#include "host/Shell.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

// Whether a and b are one file: the same volume and file index.
bool sameFile(const String& a, const String& b)
{
    BY_HANDLE_FILE_INFORMATION information[2] = {};
    const String paths[] = {a, b};
    for (int i = 0; i < 2; ++i) {
        const HANDLE handle = CreateFileA(paths[i].c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        GetFileInformationByHandle(handle, &information[i]);
        CloseHandle(handle);
    }
    return information[0].dwVolumeSerialNumber == information[1].dwVolumeSerialNumber
           && information[0].nFileIndexHigh == information[1].nFileIndexHigh
           && information[0].nFileIndexLow == information[1].nFileIndexLow;
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

// The same folder under every name Windows takes for it: an 8.3 alias, a trailing dot or
// blank (which Win32 drops), the \\?\ and \\.\ prefixes, another drive that leads to it.
TEST(RemovalGuard, EveryNameOfAProtectedFolderIsRefused)
{
    String programFiles;
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAM_FILES, programFiles));
    char shortForm[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(programFiles.c_str(), shortForm, sizeof shortForm), 0u);
    // Windows gives "C:\PROGRA~1"; Wine makes its own 8.3 names ("C:\PROG~FBU").
    ASSERT_STRNE(programFiles.c_str(), shortForm);
    const String inProgramFiles = "it is a Program Files folder";
    struct Case {
        String folder;
        String refusal;
    };
    std::vector<Case> cases = {
        {String(shortForm) + "\\", inProgramFiles},
        {shortForm, inProgramFiles},
        {programFiles + ".\\", inProgramFiles},
        {programFiles + ".", inProgramFiles},
        {programFiles + " .\\", inProgramFiles},
        {programFiles + ". .", inProgramFiles},
        {String("\\\\?\\") + programFiles + "\\", inProgramFiles},
        {String("\\\\?\\") + shortForm, inProgramFiles},
        {String("\\\\.\\") + programFiles, inProgramFiles},
        {String("\\\\?\\") + programFiles.substring(0, 3), "it is the root of a drive"},
    };
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    cases.push_back({String("\\\\?\\") + windows + "\\", "it is the Windows folder"});
    // Wine's Z: drive is the host's root, so the prefix's Program Files is there under another
    // drive, as a subst drive or a mounted folder leads to it on Windows: only the folder's
    // identity (volume and file index) tells.
    if (const char* prefix = std::getenv("WINEPREFIX"))
        cases.push_back({String("Z:") + String(prefix).replace('/', '\\') + "\\drive_c\\Program Files\\", inProgramFiles});

    // A product folder inside Program Files stays removable under those names.
    const Path product = Path(programFiles).addTrailingSeparator() + "trelliq guard "
                         + String::valueOf(static_cast<int>(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
    CreateDirectoryA((product + "\\bin").c_str(), nullptr);
    for (const char* file : {"uninstall.exe", "bin\\trqc.exe", "bin\\coverageBrowser.exe"})
        writeFile(product + "\\" + file);
    char productShort[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(product.c_str(), productShort, sizeof productShort), 0u);
    cases.push_back({product + "\\", ""});
    cases.push_back({productShort, ""});

    for (const Case& c : cases)
        EXPECT_STREQ(c.refusal.c_str(), removalRefusal(c.folder).c_str()) << c.folder.c_str();

    for (const char* file : {"uninstall.exe", "bin\\trqc.exe", "bin\\coverageBrowser.exe"})
        DeleteFileA((product + "\\" + file).c_str());
    RemoveDirectoryA((product + "\\bin").c_str());
    RemoveDirectoryA(product.c_str());
}

// The user's own folders, the common application data and the folder of all profiles hold
// other programs' data: none of them is ever an install of the product.
TEST(RemovalGuard, TheUsersFoldersAreRefused)
{
    String profile;
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROFILE, profile));
    const struct {
        int csidl;
        const char* refusal;
    } cases[] = {
        {CSIDL_DESKTOPDIRECTORY, "it is the user's Desktop folder"},
        {CSIDL_PERSONAL, "it is the user's Documents folder"},
        {CSIDL_APPDATA, "it is the user's application data folder"},
        {CSIDL_LOCAL_APPDATA, "it is the user's local application data folder"},
        {CSIDL_COMMON_APPDATA, "it is the common application data folder"},
    };
    std::vector<String> seen;
    for (const auto& c : cases) {
        String folder;
        ASSERT_TRUE(getSpecialFolder(c.csidl, folder)) << c.refusal;
        // Wine links Desktop and Documents both to the Unix home folder: the same folder, so
        // the first row's reason is given for both.
        const char* expected = c.refusal;
        for (size_t k = 0; k < seen.size(); ++k)
            if (sameFile(seen[k], folder))
                expected = cases[k].refusal;
        seen.push_back(folder);
        EXPECT_STREQ(expected, removalRefusal(folder).c_str()) << folder.c_str();
        EXPECT_STREQ(expected, removalRefusal(Path(folder).addTrailingSeparator()).c_str()) << folder.c_str();
    }
    const String profiles = Path(profile).directory();
    EXPECT_STREQ("it is the folder of the users' profiles", removalRefusal(profiles).c_str()) << profiles.c_str();
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

// A damaged install (one of the product's programs deleted) is known by the record its
// install wrote together with the uninstall entry that names the folder; either alone is
// no mark.
TEST(RemovalGuard, ADamagedInstallIsKnownByItsRecordAndItsEntry)
{
    const char* const entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq";
    const char* const notHere = "it does not hold the product's uninstall.exe, bin\\trqc.exe and "
                                "bin\\coverageBrowser.exe";
    const char* const record = "TRQFILES1\r\nbin\\trqc.exe\r\n";
    const struct {
        const char* record;   // setup.files; null: none
        const char* location; // the entry's InstallLocation: "" none, "=" the folder
        const char* refusal;
    } cases[] = {
        {record, "=", ""},
        {record, "", notHere},
        {record, "C:\\Elsewhere\\", notHere},
        {nullptr, "=", notHere},
        {"bin\\trqc.exe\r\n", "=", notHere},
    };
    RegistryKey user(HKEY_CURRENT_USER, entry);
    ASSERT_FALSE(user.open(RegistryKey::Read)) << "an uninstall entry of the product is already there";
    for (const auto& c : cases) {
        const String folder = freshFolder("damaged");
        CreateDirectoryA((folder + "bin").c_str(), nullptr);
        writeFile(folder + "uninstall.exe");
        writeFile(folder + "bin\\coverageBrowser.exe");
        if (c.record) {
            const HANDLE file = CreateFileA((folder + "setup.files").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            0, nullptr);
            DWORD written = 0;
            WriteFile(file, c.record, static_cast<DWORD>(std::strlen(c.record)), &written, nullptr);
            CloseHandle(file);
        }
        if (*c.location)
            RegistryKey(HKEY_CURRENT_USER, entry).setString("InstallLocation", *c.location == '=' ? folder : c.location);
        EXPECT_STREQ(c.refusal, removalRefusal(folder).c_str()) << (c.record ? c.record : "no record") << c.location;
        RegistryKey(HKEY_CURRENT_USER, entry).deleteTree();
        for (const char* file : {"uninstall.exe", "bin\\coverageBrowser.exe", "setup.files"})
            DeleteFileA((folder + file).c_str());
        RemoveDirectoryA((folder + "bin").c_str());
        RemoveDirectoryA(folder.c_str());
    }
}
