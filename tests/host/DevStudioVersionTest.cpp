// Tests of the Developer Studio descriptor and prepareSettings, with a stand-in msdev.exe.
#include "host/DevStudioVersion.h"

#include "foundation/MessageBox.h"
#include "host/UpdateRegistryView.h"
#include "MessageRecorder.h"
#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string vc6 = "Software\\Microsoft\\DevStudio\\6.0";
const std::string ds4 = "Software\\Microsoft\\Developer";
const std::string vc6Directories = vc6 + "\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
const std::string ds4Directories = ds4 + "\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
const std::string standIn = "Software\\TrelliqTest\\StandIn";

std::string backslashed(std::string path)
{
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

class WaitCursorView : public UpdateRegistryView {
public:
    void show() override {}
    void hide() override {}
    void showText(const String&) override {}
    bool pollCancel() override { return false; }
    void beginWaitCursor() override { ++begun; }
    // The stand-in has run by now when prepareSettings waited for it.
    void endWaitCursor() override { listsAtEnd = raw::read(HKEY_CURRENT_USER, vc6Directories, "Path Dirs"); }
    int begun = 0;
    std::string listsAtEnd;
};

class DevStudioVersionTest : public ::testing::Test {
protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
    static void clean()
    {
        for (const std::string& key : {vc6, ds4, std::string("Software\\Microsoft\\DevStudio\\5.0")}) {
            raw::removeTree(HKEY_CURRENT_USER, key);
            raw::removeTree(HKEY_LOCAL_MACHINE, key);
        }
        raw::removeTree(HKEY_CURRENT_USER, standIn);
        raw::removeTree(HKEY_CLASSES_ROOT, "dswfile");
    }
};

// Answers the message boxes from a script and records them.
std::vector<int> answers;
std::vector<std::string> questions;
int scripted(const char* text, unsigned style)
{
    questions.push_back(text);
    EXPECT_EQ(style, static_cast<unsigned>(MB_OKCANCEL | MB_ICONINFORMATION));
    const int answer = answers.empty() ? IDCANCEL : answers.front();
    if (!answers.empty())
        answers.erase(answers.begin());
    // The user ran Developer Studio 4.x before the second OK.
    if (questions.size() == 2)
        raw::putString(HKEY_CURRENT_USER, ds4Directories, "Path Dirs", "C:\\MSDEV\\BIN");
    return answer;
}

} // namespace

TEST_F(DevStudioVersionTest, InstalledMeansRunByThisUser)
{
    DevStudioVersion version(2);
    raw::putString(HKEY_LOCAL_MACHINE, vc6 + "\\Directories", "WorkspaceDir", "C:\\Machine");
    EXPECT_FALSE(version.isInstalled());
    String folder("unchanged");
    EXPECT_FALSE(version.workspaceDir(folder));
    EXPECT_STREQ(folder.c_str(), "unchanged");
    raw::putString(HKEY_CURRENT_USER, vc6 + "\\Directories", "WorkspaceDir", "C:\\Projects");
    EXPECT_TRUE(version.isInstalled());
    EXPECT_TRUE(version.workspaceDir(folder));
    EXPECT_STREQ(folder.c_str(), "C:\\Projects");
}

TEST_F(DevStudioVersionTest, TheProgramComesFromInstallDirsElseTheWorkspaceIcon)
{
    DevStudioVersion version(2);
    EXPECT_STREQ(version.programPath().c_str(), "msdev.exe");
    raw::putString(HKEY_CLASSES_ROOT, "dswfile\\DefaultIcon", nullptr, "C:\\No Comma\\msdev.exe");
    EXPECT_STREQ(version.programPath().c_str(), "msdev.exe");
    raw::putString(HKEY_CLASSES_ROOT, "dswfile\\DefaultIcon", nullptr, "C:\\Icon Dir\\msdev.exe,-1");
    EXPECT_STREQ(version.programPath().c_str(), "C:\\Icon Dir\\msdev.exe");
    raw::putString(HKEY_LOCAL_MACHINE, vc6 + "\\Directories", "Install Dirs", "C:\\Machine\\Bin\\");
    EXPECT_STREQ(version.programPath().c_str(), "C:\\Machine\\Bin\\msdev.exe");
    raw::putString(HKEY_CURRENT_USER, vc6 + "\\Directories", "Install Dirs", "C:\\User\\Bin");
    EXPECT_STREQ(version.programPath().c_str(), "C:\\User\\Bin\\msdev.exe");
}

TEST_F(DevStudioVersionTest, MissingListsAreWrittenByTheIdeRunMinimisedAndAwaited)
{
    const std::string folder = backslashed(STAND_IN_FOLDER);
    raw::putString(HKEY_CURRENT_USER, vc6 + "\\Directories", "Install Dirs", folder);
    raw::putNumber(HKEY_CURRENT_USER, vc6 + "\\General", "Tip of the day", 1);
    WaitCursorView view;
    SetLastError(1234);
    DevStudioVersion(2).prepareSettings(&view);
    EXPECT_EQ(GetLastError(), 1234u);

    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6 + "\\General", "Tip of the day"), "0");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, standIn, "CommandLine"),
              "\"" + folder + "\\msdev.exe\" -ex ApplicationExit");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, standIn, "ShowWindow"), std::to_string(SW_MINIMIZE));
    EXPECT_EQ(view.begun, 1);
    EXPECT_EQ(view.listsAtEnd, "C:\\MSDEV\\bin;C:\\WINDOWS\\system32");

    // Lists present (here under the machine key only): the IDE is not started again.
    raw::removeTree(HKEY_CURRENT_USER, standIn);
    raw::removeTree(HKEY_CURRENT_USER, vc6Directories);
    raw::putString(HKEY_LOCAL_MACHINE, vc6Directories, "Path Dirs", "C:\\VC\\bin");
    DevStudioVersion(2).prepareSettings(nullptr);
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, standIn));
}

TEST_F(DevStudioVersionTest, AnIdeThatDoesNotEndIsLeftAtTheLimitAndTheUserIsTold)
{
    const std::string folder = backslashed(STAND_IN_FOLDER);
    raw::putString(HKEY_CURRENT_USER, vc6 + "\\Directories", "Install Dirs", folder);
    raw::putNumber(HKEY_CURRENT_USER, standIn, "Hang", 1);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "TrelliqTest StandIn Release");
    ASSERT_NE(release, nullptr);
    WaitCursorView view;
    MessageRecorder recorder;
    const DWORD start = GetTickCount();
    DevStudioVersion(2).prepareSettings(&view, true, 2000);
    const DWORD took = GetTickCount() - start;
    SetEvent(release);
    CloseHandle(release);

    EXPECT_GE(took, 1900u);
    EXPECT_LT(took, 15000u);
    EXPECT_EQ(view.begun, 1);
    EXPECT_EQ(view.listsAtEnd, "<missing>");
    ASSERT_EQ(MessageRecorder::messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::messages()[0].text,
              folder + "\\msdev.exe has not ended within a minute; it may be showing a message. "
                       "Setup goes on without Microsoft Visual C++'s directory settings.");
    EXPECT_EQ(MessageRecorder::messages()[0].style, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(DevStudioVersionTest, TheQuestionFor4xRepeatsUntilTheListsExistOrCancel)
{
    raw::createKey(HKEY_CURRENT_USER, ds4);
    MessageBoxHandler previous = setMessageBoxHandler(&scripted);
    questions.clear();
    answers = {IDOK, IDOK, IDOK};
    DevStudioVersion(0).prepareSettings(nullptr);
    EXPECT_EQ(questions.size(), 2u);
    ASSERT_FALSE(questions.empty());
    EXPECT_EQ(questions[0], "You have partial registry settings for Microsoft Developer Studio version 4.x.  "
                            "If you have Visual C++ 4.x installed, please run Microsoft Developer Studio "
                            "version 4.x (msdev.exe) now, close it, then press OK. Otherwise press Cancel.");

    raw::removeTree(HKEY_CURRENT_USER, ds4Directories);
    questions.clear();
    answers = {IDCANCEL};
    DevStudioVersion(0).prepareSettings(nullptr);
    EXPECT_EQ(questions.size(), 1u);

    // A silent run cannot ask: no question, and it does not wait for the lists.
    questions.clear();
    answers = {IDOK, IDOK};
    DevStudioVersion(0).prepareSettings(nullptr, false);
    EXPECT_TRUE(questions.empty());
    setMessageBoxHandler(previous);
}
