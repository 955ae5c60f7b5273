// The wizard's pages: defaults, Browse, validation, Back, and the unattended run.
#include "host/RegistryKey.h"
#include "tests/foundation/TempFolder.h"
#include "tests/robot/Robot.h"
#include "ui/CompilersPage.h"
#include "ui/CoverageFilePage.h"
#include "ui/DestinationPage.h"

#include <commctrl.h>
#include "tests/ui/Runs.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

bool containsText(const char* text, const char* part)
{
    std::string a(text), b(part);
    for (auto& c : a)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    for (auto& c : b)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return a.find(b) != std::string::npos;
}

bool sameText(const String& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

// The registry's Program Files folder, read without the code under test, as a 32-bit program
// reads it.
std::string programFiles()
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_READ | KEY_WOW64_32KEY, &key) != 0)
        return "";
    RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return value;
}

// In the folder browser's tree, expands and selects the item path (labels, each matched as
// a case-insensitive part of the item's label), then presses OK.
bool chooseFolder(HWND browser, std::initializer_list<const char*> labels)
{
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    if (!tree)
        return false;
    HTREEITEM item = TreeView_GetRoot(tree);
    for (const char* wanted : labels) {
        bool found = false;
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            char text[260] = "";
            TVITEMA entry = {};
            entry.mask = TVIF_TEXT;
            entry.hItem = item;
            entry.pszText = text;
            entry.cchTextMax = sizeof text;
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
            if (containsText(text, wanted)) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
        TreeView_SelectItem(tree, item);
        TreeView_Expand(tree, item, TVE_EXPAND);
        if (wanted != *(labels.end() - 1))
            item = TreeView_GetChild(tree, item);
    }
    robot::click(browser, IDOK);
    return true;
}

TEST(DestinationPage, DefaultsToTrelliqUnderProgramFiles)
{
    const std::string folder = programFiles();
    ASSERT_FALSE(folder.empty());
    DestinationPage page;
    EXPECT_TRUE(sameText(page.destination(), (folder + "\\trelliq").c_str())) << page.destination().c_str();

    // Without the registry value, the fixed default.
    RegistryKey key(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion");
    ASSERT_TRUE(key.deleteValue("ProgramFilesDir"));
    DestinationPage fallback;
    EXPECT_TRUE(sameText(fallback.destination(), "c:\\Program Files\\trelliq")) << fallback.destination().c_str();

    // A Program Files folder that is missing is made (the one level), empty.
    TempFolder temp("program files");
    const String missing = temp + "Programs";
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(key.setString("ProgramFilesDir", missing));
    DestinationPage made;
    EXPECT_TRUE(key.setString("ProgramFilesDir", String(folder.c_str())));
    EXPECT_TRUE(sameText(made.destination(), (missing + "\\trelliq").c_str())) << made.destination().c_str();
    const DWORD attributes = GetFileAttributesA(missing.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << missing.c_str();
    EXPECT_FALSE(RemoveDirectoryA((missing + "\\trelliq").c_str())) << "only the one level is made";
}

TEST(DestinationPage, BrowseTakesTheChosenFolderAndTheNamePart)
{
    DestinationPage page;
    bool chosen = false;
    std::string shown;
    robot::Robot user("Choose Destination Folder", [&](HWND window) {
        robot::setText(window, IDC_PATH, "E:\\x");  // typed, but not what Browse builds on
        robot::click(window, IDC_BROWSE);
        HWND browser = robot::waitForWindow("Browse for Folder");
        chosen = browser && chooseFolder(browser, {"Desktop", "Comp", "(C:)", "windows"});
        if (browser && !chosen)
            robot::click(browser, IDCANCEL);
        Sleep(300);
        shown = robot::text(window, IDC_PATH);
        robot::click(window, IDOK);
    });
    EXPECT_EQ(page.run(interactiveRun()), IDOK);
    user.join();
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(sameText(String(shown.c_str()), "C:\\windows\\trelliq")) << shown;
    EXPECT_TRUE(sameText(page.destination(), "C:\\windows\\trelliq")) << page.destination().c_str();
}

BOOL CALLBACK collectText(HWND child, LPARAM texts)
{
    *reinterpret_cast<std::string*>(texts) += robot::text(child) + "\n";
    return TRUE;
}

// All child windows' texts of window, each followed by a newline.
std::string allTexts(HWND window)
{
    std::string texts;
    EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TEST(CoverageFilePage, RefusesADirectoryNameWithAMessage)
{
    CoverageFilePage page(Path("c:\\test.trq"));
    std::string shown, message, afterMessage;
    robot::Robot user("Locate Coverage File", [&](HWND window) {
        shown = robot::text(window, IDC_PATH);
        robot::setText(window, IDC_PATH, "C:\\windows");
        robot::click(window, IDOK);
        HWND box = robot::waitForWindow("Trelliq Setup");
        if (box) {
            message = allTexts(box);
            robot::click(box, IDOK);  // OK is the box's only button
            robot::waitGone(box);
        }
        afterMessage = IsWindowVisible(window) ? "open" : "closed";
        robot::setText(window, IDC_PATH, "C:\\windows\\cover.trq");
        robot::click(window, IDOK);
    });
    EXPECT_EQ(page.run(interactiveRun()), IDOK);
    user.join();
    EXPECT_EQ(shown, "c:\\test.trq");
    EXPECT_NE(message.find("Specify a file name rather than a directory name\n"), std::string::npos) << message;
    EXPECT_EQ(afterMessage, "open");
    EXPECT_TRUE(sameText(page.coverageFile(), "C:\\windows\\cover.trq"));
}

TEST(CoverageFilePage, BrowseStartsAtTheTypedFolderWithTheDefaultName)
{
    CoverageFilePage page(Path("c:\\test.trq"));
    std::string okText, initialName, cancelledEdit, chosenEdit;
    robot::Robot user("Locate Coverage File", [&](HWND window) {
        // A folder typed with its separator: the dialog starts at it with the default's name.
        robot::setText(window, IDC_PATH, "C:\\src\\");
        robot::click(window, IDC_BROWSE);
        HWND dialog = robot::waitForWindow("Browse");
        if (!dialog)
            return;
        Sleep(300);
        okText = robot::text(dialog, IDOK);
        initialName = robot::text(dialog, 1148);
        robot::click(dialog, IDCANCEL);
        robot::waitGone(dialog);
        cancelledEdit = robot::text(window, IDC_PATH);

        robot::click(window, IDC_BROWSE);
        dialog = robot::waitForWindow("Browse");
        if (!dialog)
            return;
        Sleep(300);
        robot::setText(dialog, 1148, "C:\\windows\\chosen.trq");  // the file name box
        robot::click(dialog, IDOK);
        robot::waitGone(dialog);
        chosenEdit = robot::text(window, IDC_PATH);
        robot::click(window, IDCANCEL);
    });
    const int result = page.run(interactiveRun());
    user.join();
    EXPECT_EQ(okText, "OK");
    EXPECT_NE(initialName.find("test.trq"), std::string::npos) << initialName;
    EXPECT_EQ(cancelledEdit, "C:\\src\\") << "a cancelled dialog leaves the edit";
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(sameText(String(chosenEdit.c_str()), "C:\\windows\\chosen.trq")) << chosenEdit;
    EXPECT_TRUE(sameText(page.coverageFile(), "C:\\windows\\chosen.trq")) << page.coverageFile().c_str();
}

TEST(CoverageFilePage, CancelledBrowseKeepsTheComposedName)
{
    CoverageFilePage page(Path("c:\\test.trq"));
    robot::Robot user("Locate Coverage File", [&](HWND window) {
        robot::setText(window, IDC_PATH, "C:\\src\\");
        robot::click(window, IDC_BROWSE);
        HWND dialog = robot::waitForWindow("Browse");
        if (dialog) {
            robot::click(dialog, IDCANCEL);
            robot::waitGone(dialog);
        }
        robot::click(window, IDC_BACK);
    });
    EXPECT_EQ(page.run(interactiveRun()), IDC_BACK);
    EXPECT_TRUE(sameText(page.coverageFile(), "C:\\src\\test.trq")) << page.coverageFile().c_str();
}

TEST(CompilersPage, BackDiscardsTheChangesMadeOnIt)
{
    CompilersPage page;
    const int boxes[] = {IDC_BORLAND, IDC_GNU, IDC_MICROSOFT, IDC_MICROTEC, IDC_TASKING};
    auto ticks = [&](HWND window) {
        std::string state;
        for (int id : boxes)
            state += SendMessageA(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED ? '1' : '0';
        return state;
    };
    std::string first, second, third;
    {
        robot::Robot user("Choose Compilers", [&](HWND window) {
            first = ticks(window);
            robot::click(window, IDC_GNU);
            robot::click(window, IDC_MICROSOFT);
            robot::click(window, IDC_BACK);
        });
        EXPECT_EQ(page.run(interactiveRun()), IDC_BACK);
    }
    {
        robot::Robot user("Choose Compilers", [&](HWND window) {
            second = ticks(window);
            robot::click(window, IDC_BORLAND);
            robot::click(window, IDC_TASKING);
            robot::click(window, IDOK);
        });
        EXPECT_EQ(page.run(interactiveRun()), IDOK);
    }
    {
        robot::Robot user("Choose Compilers", [&](HWND window) {
            third = ticks(window);
            robot::click(window, IDC_BORLAND);
            robot::click(window, IDC_BACK);
        });
        EXPECT_EQ(page.run(interactiveRun()), IDC_BACK);
    }
    EXPECT_EQ(first, "00100") << "Microsoft alone at first";
    EXPECT_EQ(second, "00100") << "Back kept the defaults";
    EXPECT_EQ(third, "10101") << "the values of the last Next";
    EXPECT_TRUE(page.borland());
    EXPECT_FALSE(page.gnu());
    EXPECT_TRUE(page.microsoft());
    EXPECT_FALSE(page.microtec());
    EXPECT_TRUE(page.tasking());
}

TEST(WizardPages, UnattendedTheWizardTakesEveryDefault)
{
    DestinationPage destination;
    CoverageFilePage coverage(Path("c:\\test.trq"));
    CompilersPage compilers;
    WizardPage* pages[] = {&destination, &coverage, &compilers};
    int index = 0;
    while (index < 3 && pages[index]->step(index, unattendedRun())) {
    }
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(sameText(destination.destination(), (programFiles() + "\\trelliq").c_str()));
    EXPECT_TRUE(sameText(coverage.coverageFile(), "c:\\test.trq"));
    EXPECT_TRUE(compilers.microsoft());
    EXPECT_FALSE(compilers.borland() || compilers.gnu() || compilers.microtec() || compilers.tasking());
}

} // namespace
