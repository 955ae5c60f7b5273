// installFolderRefusal and holdsProductInstall: which folders setup installs into, and the
// marks of an install, on real folders.
#include "host/InstallFolder.h"
#include "host/InstallMarks.h"

#include "foundation/Path.h"
#include "host/Shell.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

namespace {

using namespace testSupport;

// "<temp>trelliq destination <name>\", empty and fresh.
std::string freshFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "trelliq destination " + name + "\\";
    if (Path(folder.c_str()).isDirectory())
        Path(folder.c_str()).remove();
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// The three marks of an install in folder.
void markAsInstall(const std::string& folder)
{
    CreateDirectoryA((folder + "bin").c_str(), nullptr);
    write(folder + "uninstall.exe", "uninstaller");
    write(folder + "bin\\trqc.exe", "wrapper");
    write(folder + "bin\\coverageBrowser.exe", "browser");
}

std::string refusal(const std::string& folder)
{
    return installFolderRefusal(String(folder.c_str())).c_str();
}

} // namespace

TEST(InstallFolder, NamesThatAreNoFullFolderPathAreRefused)
{
    const struct {
        const char* folder;
        const char* refusal;
    } cases[] = {
        {"", "Please give the folder to install into."},
        {"   ", "Please give the folder to install into."},
        {"trelliq", "Setup cannot install into \"trelliq\": it is not a full path such as C:\\Tools\\Trelliq or "
                    "\\\\server\\share\\Trelliq."},
        {"C:trelliq", "Setup cannot install into \"C:trelliq\": it is not a full path"},
        {"\\trelliq", "Setup cannot install into \"\\trelliq\": it is not a full path"},
        {"\\\\server", "Setup cannot install into \"\\\\server\": it is not a full path"},
        {"\\\\\\server\\share\\x", "Setup cannot install into \"\\\\\\server\\share\\x\": it is not a full path"},
        {"C:\\Tools;D:\\x", "Setup cannot install into \"C:\\Tools;D:\\x\": it holds the character \";\", which"},
        {"C:\\Tools\\\"x", "Setup cannot install into \"C:\\Tools\\\"x\": it holds the character \"\"\""},
        {"C:\\Tools\\a:b", "Setup cannot install into \"C:\\Tools\\a:b\": it holds the character \":\""},
        {"C:\\Tools\\x*", "Setup cannot install into \"C:\\Tools\\x*\": it holds the character \"*\""},
        {"\\\\?\\C:\\Tools", "Setup cannot install into \"\\\\?\\C:\\Tools\": it holds the character \"?\""},
        {"C:\\Tools\\a\tb", "Setup cannot install into \"C:\\Tools\\a\tb\": it holds a control character."},
        {"C:\\Windows.", "Setup cannot install into \"C:\\Windows.\": its part \"Windows.\" ends with a dot"},
        {"C:\\Tools \\x", "Setup cannot install into \"C:\\Tools \\x\": its part \"Tools \" ends with a dot"},
        {"C:\\Tools\\..\\x", "Setup cannot install into \"C:\\Tools\\..\\x\": its part \"..\" ends with a dot"},
        {"C:\\", "Setup cannot install into \"C:\\\": it is the root of a drive."},
        {"c:/", "Setup cannot install into \"c:/\": it is the root of a drive."},
        {"\\\\server\\share", "Setup cannot install into \"\\\\server\\share\": it is the root of a network share."},
        {"//server/share/", "Setup cannot install into \"//server/share/\": it is the root of a network share."},
    };
    for (const auto& c : cases) {
        const std::string seen = refusal(c.folder);
        EXPECT_EQ(seen.compare(0, std::string(c.refusal).size(), c.refusal), 0)
            << "folder \"" << c.folder << "\": expected \"" << c.refusal << "...\", saw \"" << seen << "\"";
    }
}

TEST(InstallFolder, TheSystemsOwnFoldersAreRefusedInAnyForm)
{
    char windows[MAX_PATH], system[MAX_PATH], shortForm[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    GetSystemDirectoryA(system, sizeof system);
    String programFiles, profile, appData, commonAppData;
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAM_FILES, programFiles));
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROFILE, profile));
    ASSERT_TRUE(getSpecialFolder(CSIDL_APPDATA, appData));
    ASSERT_TRUE(getSpecialFolder(CSIDL_COMMON_APPDATA, commonAppData));
    ASSERT_NE(GetShortPathNameA(programFiles.c_str(), shortForm, sizeof shortForm), 0u);
    const struct {
        std::string folder;
        const char* reason;
    } cases[] = {
        {windows, "it is the Windows folder."},
        {std::string(windows) + "\\", "it is the Windows folder."},
        {String(system).toLowerCase().replace('\\', '/').c_str(), "it is the system folder."},
        {std::string(system) + "\\", "it is the system folder."},
        {programFiles.c_str(), "it is a Program Files folder."},
        {shortForm, "it is a Program Files folder."},
        {profile.c_str(), "it is the user's profile folder."},
        {appData.c_str(), "it is the user's application data folder."},
        {commonAppData.c_str(), "it is the common application data folder."},
    };
    for (const auto& c : cases) {
        const std::string seen = refusal(c.folder);
        const std::string expected = "Setup cannot install into \"" + c.folder + "\": " + c.reason;
        EXPECT_EQ(seen, expected) << c.folder;
    }
}

TEST(InstallFolder, OnlyANewAnEmptyOrAnInstalledFolderIsTaken)
{
    const std::string folder = freshFolder("contents");
    const std::string bare = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(refusal(folder + "new\\deeper"), "") << "a folder that does not exist yet";
    EXPECT_EQ(refusal(folder), "") << "an empty folder";
    EXPECT_EQ(refusal(bare), "") << "an empty folder, without a final separator";

    write(folder + "notes.txt", "mine");
    const std::string foreign = "Setup cannot install into \"" + bare + "\": it holds files of its own and no earlier "
                                "install of Trelliq, and uninstalling would remove them. Please choose a new or "
                                "empty folder.";
    EXPECT_EQ(refusal(bare), foreign);
    EXPECT_EQ(refusal(folder + "notes.txt"), "Setup cannot install into \"" + folder + "notes.txt\": it is a file.");
    markAsInstall(folder);
    EXPECT_EQ(refusal(bare), "") << "an earlier install, with files of the user's beside it";
    DeleteFileA((folder + "bin\\coverageBrowser.exe").c_str());
    EXPECT_EQ(refusal(bare), foreign) << "two of the three marks are not an install";
    Path(folder.c_str()).remove();
}

TEST(InstallMarks, AllThreeMarksAsPlainFilesMakeAnInstall)
{
    const std::string folder = freshFolder("marks");
    markAsInstall(folder);
    EXPECT_TRUE(holdsProductInstall(folder.c_str()));
    EXPECT_TRUE(holdsProductInstall(folder.substr(0, folder.size() - 1).c_str()));
    const char* const marks[] = {"uninstall.exe", "bin\\trqc.exe", "bin\\coverageBrowser.exe"};
    for (const char* mark : marks) {
        const std::string path = folder + mark;
        DeleteFileA(path.c_str());
        EXPECT_FALSE(holdsProductInstall(folder.c_str())) << mark << " missing";
        CreateDirectoryA(path.c_str(), nullptr);
        EXPECT_FALSE(holdsProductInstall(folder.c_str())) << mark << " a folder";
        RemoveDirectoryA(path.c_str());
        write(path, "again");
        EXPECT_TRUE(holdsProductInstall(folder.c_str())) << mark << " back";
    }
    EXPECT_FALSE(holdsProductInstall((folder + "missing\\").c_str()));
    Path(folder.c_str()).remove();
}
