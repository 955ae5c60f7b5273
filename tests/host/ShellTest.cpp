// Tests of shortcuts, special folders and the folder picker under Wine.
#include "host/Shell.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string tempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void touch(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
}

bool isFolder(const String& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool endsWith(const String& text, const char* tail)
{
    const int n = static_cast<int>(strlen(tail));
    return text.length() >= n && text.substring(text.length() - n).toLowerCase().compareTo(String(tail).toLowerCase()) == 0;
}

// Target and description of a shortcut as the shell's own link reader sees them.
void readShortcut(const std::string& linkFile, std::string& target, std::string& description)
{
    IShellLinkA* link = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                              reinterpret_cast<void**>(&link)));
    IPersistFile* file = nullptr;
    ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH);
    EXPECT_HRESULT_SUCCEEDED(file->Load(wide, STGM_READ));
    char buffer[MAX_PATH] = "";
    link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH);
    target = buffer;
    buffer[0] = '\0';
    link->GetDescription(buffer, sizeof buffer);
    description = buffer;
    file->Release();
    link->Release();
}

} // namespace

// TRELLIQ_SHORTCUT_FILE names a link file to write and keep, for a check with lnkinfo from
// outside Wine (tests/host/check-shortcut).
TEST(Shell, CreateShortcutWritesALinkToTheTargetWithItsDescription)
{
    const std::string folder = tempFolder("Trelliq Shortcut");
    CreateDirectoryA((folder + "\\bin").c_str(), nullptr);
    const std::string target = folder + "\\bin\\coverageBrowser.exe";
    touch(target);
    const char* kept = std::getenv("TRELLIQ_SHORTCUT_FILE");
    const std::string linkFile = kept ? kept : folder + "\\Trelliq.lnk";
    DeleteFileA(linkFile.c_str());

    ASSERT_TRUE(createShortcut(String(folder.c_str()) + "/bin/coverageBrowser.exe", linkFile.c_str(), "Trelliq"))
        << "last error " << std::hex << GetLastError();
    std::string seenTarget;
    std::string seenDescription;
    readShortcut(linkFile, seenTarget, seenDescription);
    EXPECT_STRCASEEQ(seenTarget.c_str(), target.c_str()) << "'/' are written as '\\'";
    EXPECT_EQ(seenDescription, "Trelliq");

    SetLastError(0);
    EXPECT_FALSE(createShortcut(target.c_str(), (folder + "\\no such folder\\x.lnk").c_str(), "x"));
    EXPECT_TRUE(FAILED(static_cast<HRESULT>(GetLastError()))) << "an HRESULT, got " << std::hex << GetLastError();

    if (!kept)
        DeleteFileA(linkFile.c_str());
}

TEST(Shell, SpecialFoldersAreTheCommonAndThePersonalProgramMenus)
{
    String common;
    String personal;
    ASSERT_TRUE(getSpecialFolder(CSIDL_COMMON_PROGRAMS, common));
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAMS, personal));
    EXPECT_TRUE(isFolder(common)) << common.c_str();
    EXPECT_TRUE(isFolder(personal)) << personal.c_str();
    EXPECT_TRUE(endsWith(common, "\\Start Menu\\Programs")) << common.c_str();
    EXPECT_TRUE(endsWith(personal, "\\Start Menu\\Programs")) << personal.c_str();
    EXPECT_FALSE(common.equals(personal));

    String unchanged("unchanged");
    EXPECT_FALSE(getSpecialFolder(0x7F, unchanged)) << "no such folder id";
    EXPECT_STREQ(unchanged.c_str(), "unchanged");
}

namespace {

BOOL CALLBACK findDialog(HWND window, LPARAM result)
{
    char name[16];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

// The name of the item selected in the dialog's folder tree.
std::string selectedName(HWND dialog)
{
    HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    HTREEITEM item = tree ? TreeView_GetSelection(tree) : nullptr;
    if (!item)
        return "";
    char name[MAX_PATH] = "";
    TVITEMA data = {};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = name;
    data.cchTextMax = sizeof name;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return name;
}

// Answers the folder dialog of this process, once it shows: selects path (when given)
// and presses OK, or presses Cancel.
void answerFolderDialog(DWORD thread, const char* path)
{
    for (int i = 0; i < 200; ++i) {
        HWND found = nullptr;
        EnumThreadWindows(thread, findDialog, reinterpret_cast<LPARAM>(&found));
        if (found && !path) {
            PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        // The dialog may still be filling its tree: select until the selection holds.
        if (found) {
            SendMessageA(found, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
            if (selectedName(found) == strrchr(path, '\\') + 1) {
                PostMessageA(found, WM_COMMAND, IDOK, 0);
                return;
            }
        }
        Sleep(50);
    }
}

} // namespace

TEST(Shell, BrowseForFolderGivesTheChosenFolderAndKeepsItOnCancel)
{
    const std::string chosen = tempFolder("Trelliq Browse");
    const DWORD thread = GetCurrentThreadId();

    String folder("before");
    std::thread cancel(answerFolderDialog, thread, nullptr);
    EXPECT_FALSE(browseForFolder(nullptr, folder, "Destination"));
    cancel.join();
    EXPECT_STREQ(folder.c_str(), "before");

    std::thread choose(answerFolderDialog, thread, chosen.c_str());
    EXPECT_TRUE(browseForFolder(nullptr, folder, "Destination"));
    choose.join();
    EXPECT_STRCASEEQ(folder.c_str(), chosen.c_str());
}
