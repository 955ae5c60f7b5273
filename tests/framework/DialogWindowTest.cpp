// DialogWindow: modal and modeless runs, data exchange, keyboard handling in the pump, and
// failures carried out of the dialog procedure. Driven by the robot like a user would.
#include "foundation/Exception.h"
#include "framework/Application.h"
#include "framework/DialogWindow.h"
#include "tests/robot/Robot.h"

#include <gtest/gtest.h>

namespace {

const char caption[] = "Framework Test";

class TestDialog : public DialogWindow {
public:
    explicit TestDialog(HWND parent = nullptr) : DialogWindow(100, parent) {}

    String name = "abc";
    bool flag = true;
    int cancels = 0;

protected:
    bool doDataExchange(DataExchange& exchange) override
    {
        exchange.text(10, name);
        exchange.check(11, flag);
        if (exchange.saving() && name.compareTo("bad") == 0) {
            exchange.failOn(10);
            return false;
        }
        return true;
    }
    bool onCommand(int id, int code, HWND control) override
    {
        if (id == 12) {
            endDialog(5);
            return true;
        }
        if (id == 13)
            throw RuntimeException("handler failed");
        return DialogWindow::onCommand(id, code, control);
    }
    void onCancel() override
    {
        ++cancels;
        DialogWindow::onCancel();
    }
};

TEST(DialogWindow, ModalRunReturnsTheEndDialogCode)
{
    TestDialog dialog;
    robot::Robot user(caption, [](HWND window) { robot::click(window, 12); });
    EXPECT_EQ(dialog.doModal(), 5);
    EXPECT_TRUE(user.found());
    EXPECT_EQ(dialog.hwnd(), nullptr) << "the window is destroyed after the run";

    robot::Robot escape(caption, [](HWND window) { robot::press(window, VK_ESCAPE); });
    EXPECT_EQ(dialog.doModal(), IDCANCEL) << "Escape reaches the dialog through the pump";
    EXPECT_EQ(dialog.cancels, 1);
}

TEST(DialogWindow, DataExchangeShowsAndReadsBackMembers)
{
    TestDialog dialog;
    std::string shown;
    LRESULT checked = -1;
    bool keptOpenOnBadValue = false;
    robot::Robot user(caption, [&](HWND window) {
        shown = robot::text(window, 10);
        checked = SendMessageA(GetDlgItem(window, 11), BM_GETCHECK, 0, 0);
        robot::setText(window, 10, "bad");
        robot::click(window, IDOK);
        keptOpenOnBadValue = !robot::waitGone(window, 500);
        robot::setText(window, 10, "xyz");
        SendMessageA(GetDlgItem(window, 11), BM_SETCHECK, BST_UNCHECKED, 0);
        robot::click(window, IDOK);
    });
    EXPECT_EQ(dialog.doModal(), IDOK);
    user.join();
    EXPECT_EQ(shown, "abc");
    EXPECT_EQ(checked, BST_CHECKED);
    EXPECT_TRUE(keptOpenOnBadValue) << "a failed validation keeps the dialog open";
    EXPECT_EQ(dialog.name.compareTo("xyz"), 0) << dialog.name.c_str();
    EXPECT_FALSE(dialog.flag);
}

TEST(DialogWindow, ModelessDialogGetsKeyboardHandlingAndAModalLoop)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    TestDialog dialog(owner);
    ASSERT_TRUE(dialog.createModeless());
    ShowWindow(dialog.hwnd(), SW_SHOW);
    // Tab, given to the pump as a user's key press, moves the focus to the next control. A
    // window of a test running beside this one may take the foreground, and with it this
    // thread's focus, at any moment: a try that lost the foreground says nothing and is repeated.
    HWND focusAfterTab = nullptr;
    for (int tries = 0; tries < 20; ++tries) {
        SetForegroundWindow(dialog.hwnd());
        SetFocus(dialog.item(10));
        PostMessageA(dialog.item(10), WM_KEYDOWN, VK_TAB, 1);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE))
            Application::current().pumpMessage();
        focusAfterTab = GetFocus();
        if (GetForegroundWindow() == dialog.hwnd() && focusAfterTab)
            break;
        Sleep(50);
    }
    EXPECT_EQ(focusAfterTab, dialog.item(11));

    bool ownerDisabled = false;
    robot::Robot user(caption, [&](HWND window) {
        ownerDisabled = !IsWindowEnabled(owner);
        robot::click(window, 12);
    });
    EXPECT_EQ(dialog.runModalLoop(), 5);
    user.join();
    EXPECT_TRUE(ownerDisabled) << "the owner is disabled during the modal loop";
    EXPECT_TRUE(IsWindowEnabled(owner)) << "and enabled again after it";
    EXPECT_NE(dialog.hwnd(), nullptr) << "the modal loop leaves the modeless window to its owner";
    DestroyWindow(owner);
}

TEST(DialogWindow, AFailureInAHandlerLeavesTheModalRun)
{
    TestDialog dialog;
    robot::Robot user(caption, [](HWND window) { robot::click(window, 13); });
    try {
        dialog.doModal();
        ADD_FAILURE() << "doModal returned";
    } catch (const RuntimeException& failure) {
        EXPECT_EQ(failure.text().compareTo("handler failed"), 0);
    }
    user.join();
    EXPECT_EQ(dialog.hwnd(), nullptr);
}

class FailingStart : public DialogWindow {
public:
    explicit FailingStart(HWND parent) : DialogWindow(100, parent) {}

protected:
    bool onInitDialog() override { throw RuntimeException("start-up failed"); }
};

TEST(DialogWindow, AFailureAtStartUpLeavesNoWindowAndAnEnabledOwner)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    FailingStart dialog(owner);
    EXPECT_THROW(dialog.doModal(), RuntimeException);
    EXPECT_EQ(dialog.hwnd(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(FindWindowA("#32770", caption), nullptr);
    DestroyWindow(owner);
}

TEST(DialogWindow, AMissingTemplateGivesMinusOne)
{
    DialogWindow dialog(999, nullptr);
    EXPECT_EQ(dialog.doModal(), -1);
    EXPECT_FALSE(dialog.createModeless());
}

} // namespace
