// WizardPage and Dialog: run and step, the non-interactive mode, placement and cancel polling.
#include "framework/Application.h"
#include "resources/resource.h"
#include "tests/robot/Robot.h"
#include "ui/PumpMessages.h"
#include "ui/UpdateRegistryDialog.h"
#include "ui/WaitCursor.h"
#include "ui/WizardPage.h"

#include "tests/ui/Runs.h"

#include <gtest/gtest.h>

namespace {

const char compilers[] = "Choose Compilers";

// A page that also ends with 6 when told so (no page of setup has such a button).
class Page : public WizardPage {
public:
    explicit Page(HWND parent = nullptr) : WizardPage(IDD_COMPILERS, parent) {}

protected:
    bool onCommand(int id, int code, HWND control) override
    {
        if (id == IDYES) {
            endDialog(IDYES);
            return true;
        }
        return WizardPage::onCommand(id, code, control);
    }
};

int windowsCreated = 0;
LRESULT CALLBACK countCreations(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        ++windowsCreated;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WizardPage, NonInteractiveRunAnswersNextWithoutAWindow)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, countCreations, nullptr, GetCurrentThreadId());
    windowsCreated = 0;
    Page page;
    int index = 0;
    const int result = page.run(unattendedRun());
    const bool going = page.step(index, unattendedRun());
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(going);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(windowsCreated, 0);
}

TEST(WizardPage, StepMovesTheIndexByTheResult)
{
    struct Case {
        const char* what;
        std::function<void(HWND)> answer;
        bool going;
        int index;
    } cases[] = {
        {"Next", [](HWND page) { robot::click(page, IDOK); }, true, 6},
        {"Back", [](HWND page) { robot::click(page, IDC_BACK); }, true, 4},
        {"Cancel", [](HWND page) { robot::click(page, IDCANCEL); }, false, 5},
        {"Escape", [](HWND page) { robot::press(page, VK_ESCAPE); }, false, 5},
        {"close box", [](HWND page) { PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0); }, false, 5},
        {"result 6", [](HWND page) { PostMessageA(page, WM_COMMAND, IDYES, 0); }, true, 5},
    };
    for (const Case& c : cases) {
        Page page;
        int index = 5;
        robot::Robot user(compilers, c.answer);
        EXPECT_EQ(page.step(index, interactiveRun()), c.going) << c.what;
        EXPECT_EQ(index, c.index) << c.what;
        EXPECT_TRUE(user.found()) << c.what;
    }
}

TEST(WizardPage, PlacedInTheCornerOfAVisibleParentElseCentred)
{
    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 560, nullptr,
                                  nullptr, nullptr, nullptr);
    RECT corner = {};
    {
        Page page(parent);
        robot::Robot user(compilers, [&](HWND window) {
            GetWindowRect(window, &corner);
            robot::click(window, IDCANCEL);
        });
        page.run(interactiveRun());
    }
    EXPECT_EQ(corner.right, 40 + 700 - 10);
    EXPECT_EQ(corner.bottom, 30 + 560 - 10);

    ShowWindow(parent, SW_HIDE);
    RECT centred = {};
    {
        Page page(parent);
        robot::Robot user(compilers, [&](HWND window) {
            GetWindowRect(window, &centred);
            robot::click(window, IDCANCEL);
        });
        page.run(interactiveRun());
    }
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((centred.left + centred.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((centred.top + centred.bottom) / 2, (area.top + area.bottom) / 2, 1);
    DestroyWindow(parent);
}

TEST(Dialog, PollCancelSeesTheUsersCancel)
{
    UpdateRegistryDialog dialog;
    dialog.create();
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_FALSE(dialog.pollCancel());

    robot::click(dialog.hwnd(), IDCANCEL);
    SetLastError(0);
    EXPECT_TRUE(dialog.pollCancel()) << "the click is taken by the poll's own pumping";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANCELLED));
    EXPECT_EQ(dialog.hwnd(), nullptr) << "Cancel destroys a modeless dialog";

    SetLastError(0);
    EXPECT_TRUE(dialog.pollCancel()) << "and the answer stays";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANCELLED));
}

TEST(Dialog, CreateFailureIsADialogException)
{
    Dialog dialog(999, nullptr);
    try {
        dialog.create();
        ADD_FAILURE() << "created";
    } catch (const ::Exception& failure) {
        EXPECT_STREQ(failure.message().c_str(), "Dialog error: Create failure");
    }
    WizardPage page(999, nullptr);
    EXPECT_THROW(page.run(interactiveRun()), Dialog::Exception) << "a page that cannot be shown is not a page that stays";
}

class IdleCounter : public Application {
public:
    int idle = 0;
    bool onIdle(long count) override
    {
        EXPECT_EQ(count, idle);
        ++idle;
        return count < 3;
    }
};

TEST(PumpMessages, RunsQueuedMessagesThenIdleWorkAndKeepsAQuitRequest)
{
    IdleCounter application;
    pumpMessages();
    EXPECT_EQ(application.idle, 4) << "idle with counts 0 to 3 on an empty queue";

    PostQuitMessage(3);
    application.idle = 0;
    pumpMessages();
    EXPECT_EQ(application.idle, 4) << "idle work also after a quit request";
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request is posted again";
}

TEST(WaitCursor, KeepsTheLastErrorAndEndsWhenAFailureUnwinds)
{
    SetLastError(ERROR_ACCESS_DENIED);
    {
        WaitCursor waiting;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
        EXPECT_EQ(Application::current().waitCursorCount(), 1);
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Application::current().waitCursorCount(), 0);

    try {
        WaitCursor waiting;
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(Application::current().waitCursorCount(), 0);
}

} // namespace
