// checkRunningPrograms: the title patterns and the walk over real top-level windows.
#include "setup/RunningPrograms.h"

#include "foundation/MessageBox.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> shown;
std::vector<unsigned> styles;
int answer = IDOK;

int recordAndAnswer(const char* text, unsigned style)
{
    shown.push_back(text);
    styles.push_back(style);
    return answer;
}

// A top-level window of ours with a title, hidden unless asked.
struct TitledWindow {
    explicit TitledWindow(const char* title, bool visible = false)
        : hwnd(CreateWindowExA(0, "STATIC", title, WS_OVERLAPPED | (visible ? WS_VISIBLE : 0), 0, 0, 100, 50,
                               nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~TitledWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

} // namespace

TEST(RunningPrograms, TitlesOfTheProductAndDeveloperStudioMatch)
{
    const char* matching[] = {"Coverage Browser", "Coverage Viewer", "Coverage Browser - c:\\src\\test.trq",
                              "Coverage Viewer - x.trq", "results - Coverage Browser",
                              "MyProject - Microsoft Visual C++", "Microsoft Developer Studio",
                              "Microsoft Visual C++", "ws - Microsoft Developer Studio - [a.c]",
                              "Trelliq - Untitled", "Trelliq - c:\\work\\x.trq"};
    for (const char* title : matching)
        EXPECT_TRUE(isRunningProgramTitle(title)) << title;

    const char* other[] = {"Coverage Browser - notes.txt", "Microsoft Visual C++ 6.0", "Trelliq - readme",
                           "coverage browser", "Coverage Browser ", ".trq", "Trelliq - .tr", "",
                           "MyProject -Microsoft Visual C++", "Trelliq Setup"};
    for (const char* title : other)
        EXPECT_FALSE(isRunningProgramTitle(title)) << title;
}

TEST(RunningPrograms, EveryMatchingWindowIsAskedForUntilCancel)
{
    MessageBoxHandler previous = setMessageBoxHandler(recordAndAnswer);
    {
        // One hidden, one visible: both count.
        TitledWindow browser("Coverage Browser - c:\\src\\test.trq");
        TitledWindow main("Trelliq - Untitled", true);
        TitledWindow unrelated("Coverage Browser - notes.txt", true);

        shown.clear();
        styles.clear();
        answer = IDOK;
        EXPECT_TRUE(checkRunningPrograms());
        ASSERT_EQ(2u, shown.size());
        std::vector<std::string> expected = {"Please close the program \"Coverage Browser - c:\\src\\test.trq\"",
                                             "Please close the program \"Trelliq - Untitled\""};
        EXPECT_TRUE((shown == expected) || (shown[0] == expected[1] && shown[1] == expected[0]))
            << shown[0] << " / " << shown[1];
        EXPECT_EQ(unsigned(MB_OKCANCEL | MB_ICONEXCLAMATION), styles[0]);

        shown.clear();
        answer = IDCANCEL;
        EXPECT_FALSE(checkRunningPrograms());
        EXPECT_EQ(1u, shown.size()) << "Cancel on the first message ends the check";
    }
    shown.clear();
    answer = IDCANCEL;
    EXPECT_TRUE(checkRunningPrograms()) << "no window of the product left";
    EXPECT_TRUE(shown.empty());
    setMessageBoxHandler(previous);
}
