// Application: the message-box hook, the wait-cursor counter and the main loop.
#include "foundation/MessageBox.h"
#include "framework/Application.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TestApplication : public Application {
public:
    std::string text;
    unsigned style = 0;
    int idleCalls = 0;
    int countWhileShown = -1;
    HCURSOR cursorWhileShown = nullptr;
    int doMessageBox(const char* text, unsigned style) override
    {
        this->text = text;
        this->style = style;
        countWhileShown = waitCursorCount();
        cursorWhileShown = GetCursor();
        return IDNO;
    }
    bool initInstance() override
    {
        PostMessageA(nullptr, WM_NULL, 0, 0);
        return true;
    }
    bool onIdle(long count) override
    {
        ++idleCalls;
        if (count == 2)
            PostQuitMessage(7);
        return count < 2;
    }
    int exitInstance() override { return 42; }
};

TEST(Application, EveryMessageBoxReachesTheHook)
{
    TestApplication application;
    EXPECT_EQ(&Application::current(), &application);
    EXPECT_EQ(messageBox("Are you sure?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(application.text, "Are you sure?");
    EXPECT_EQ(application.style, unsigned(MB_YESNO | MB_ICONQUESTION));
}

TEST(Application, AMessageBoxShowsTheArrowUnderTheWaitCursorAndGivesTheCountBack)
{
    TestApplication application;
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (int levels : {0, 1, 2}) {
        for (int i = 0; i < levels; ++i)
            application.doWaitCursor(1);
        SetLastError(4321);
        EXPECT_EQ(messageBox("Please close the program", MB_OKCANCEL), IDNO);
        EXPECT_EQ(GetLastError(), 4321u) << levels;
        EXPECT_EQ(application.countWhileShown, 0) << levels;
        EXPECT_EQ(application.waitCursorCount(), levels);
        if (levels > 0) {
            EXPECT_EQ(application.cursorWhileShown, arrow) << levels;
            EXPECT_EQ(GetCursor(), wait) << levels;
        }
        for (int i = 0; i < levels; ++i)
            application.doWaitCursor(-1);
    }
}

TEST(Application, MainRunsIdleWorkUntilQuitThenExitInstance)
{
    TestApplication application;
    EXPECT_EQ(application.main(), 42);
    EXPECT_EQ(application.idleCalls, 3) << "idle with counts 0, 1 and 2";
}

TEST(Application, WaitCursorCountsLevels)
{
    Application& application = Application::current();
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    application.doWaitCursor(1);
    application.doWaitCursor(1);
    application.doWaitCursor(-1);
    EXPECT_EQ(application.waitCursorCount(), 1);
    EXPECT_EQ(GetCursor(), wait);
    application.doWaitCursor(-1);
    EXPECT_EQ(application.waitCursorCount(), 0);
    EXPECT_EQ(GetCursor(), arrow);
    application.doWaitCursor(-1);
    EXPECT_EQ(application.waitCursorCount(), 0) << "never below 0";
}

} // namespace
