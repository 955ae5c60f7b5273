// MessageDialog: the icon and buttons of each style the program uses, and every answer.
#include "foundation/MessageBox.h"
#include "framework/Application.h"
#include "resources/resource.h"
#include "tests/robot/Robot.h"
#include "ui/MessageDialog.h"
#include "ui/WizardPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int icons[] = {IDC_ICON_WARNING, IDC_ICON_ERROR, IDC_ICON_INFORMATION, IDC_ICON_QUESTION};
const int buttons[] = {IDOK, IDCANCEL, IDYES, IDNO};

struct Seen {
    std::vector<int> icons;
    std::vector<int> buttons;
    std::string text;
};

// Shows text with style through messageBox(), records what the box shows, then answers.
int answer(unsigned style, const std::function<void(HWND)>& act, Seen* seen)
{
    robot::Robot user("Trelliq Setup", [&](HWND box) {
        for (int id : icons)
            if (robot::visible(box, id))
                seen->icons.push_back(id);
        for (int id : buttons)
            if (robot::visible(box, id))
                seen->buttons.push_back(id);
        seen->text = robot::text(box, IDC_MESSAGE_TEXT);
        act(box);
    });
    const int result = messageBox("Copy C:\\A&B\\x failed", style);
    EXPECT_TRUE(user.found()) << "style " << style;
    return result;
}

TEST(MessageDialog, StylesShowTheirIconAndButtons)
{
    MessageDialog::install();
    struct Case {
        unsigned style;
        int icon;
        std::vector<int> buttons;
    } cases[] = {
        {0, IDC_ICON_WARNING, {IDOK}},
        {16, IDC_ICON_ERROR, {IDOK}},
        {36, IDC_ICON_QUESTION, {IDYES, IDNO}},
        {49, IDC_ICON_WARNING, {IDOK, IDCANCEL}},
        {65, IDC_ICON_INFORMATION, {IDOK, IDCANCEL}},
        {273, IDC_ICON_ERROR, {IDOK, IDCANCEL}},  // the default-button bits change nothing
    };
    for (const Case& c : cases) {
        Seen seen;
        answer(c.style, [](HWND box) { robot::click(box, IDOK); }, &seen);
        EXPECT_EQ(seen.icons, std::vector<int>{c.icon}) << "style " << c.style;
        EXPECT_EQ(seen.buttons, c.buttons) << "style " << c.style;
        EXPECT_EQ(seen.text, "Copy C:\\A&B\\x failed") << "the text is shown as it is";
    }
    setMessageBoxHandler(nullptr);
}

TEST(MessageDialog, EachButtonEscapeAndTheCloseBoxGiveTheirResult)
{
    MessageDialog::install();
    Seen seen;
    auto click = [](int id) { return [id](HWND box) { robot::click(box, id); }; };
    auto escape = [](HWND box) { robot::press(box, VK_ESCAPE); };
    auto close = [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); };
    EXPECT_EQ(answer(MB_ICONHAND, click(IDOK), &seen), IDOK);
    EXPECT_EQ(answer(MB_ICONHAND, escape, &seen), IDCANCEL) << "Escape in an OK-only box";
    EXPECT_EQ(answer(MB_YESNO | MB_ICONQUESTION, click(IDYES), &seen), IDYES);
    EXPECT_EQ(answer(MB_YESNO | MB_ICONQUESTION, click(IDNO), &seen), IDNO);
    EXPECT_EQ(answer(MB_YESNO | MB_ICONQUESTION, escape, &seen), IDCANCEL) << "Escape in a Yes/No box";
    EXPECT_EQ(answer(MB_YESNO | MB_ICONQUESTION, close, &seen), IDCANCEL) << "the close box";
    EXPECT_EQ(answer(MB_OKCANCEL | MB_ICONEXCLAMATION, click(IDCANCEL), &seen), IDCANCEL);
    EXPECT_EQ(answer(MB_OKCANCEL | MB_ICONEXCLAMATION, click(IDOK), &seen), IDOK);
    setMessageBoxHandler(nullptr);
}

TEST(MessageDialog, SitsInTheCornerOfTheMainWindowAndGivesItsFocusToTheFirstButton)
{
    HWND frame = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480, nullptr,
                                 nullptr, nullptr, nullptr);
    Application::current().setMainWindow(frame);
    RECT box = {};
    HWND focus = nullptr;
    HWND yes = nullptr;
    bool frameDisabled = false;
    robot::Robot user("Trelliq Setup", [&](HWND window) {
        GetWindowRect(window, &box);
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        focus = info.hwndFocus;
        yes = GetDlgItem(window, IDYES);
        frameDisabled = !IsWindowEnabled(frame);
        robot::click(window, IDNO);
    });
    EXPECT_EQ(MessageDialog::show("Are you sure you want to remove Trelliq?", 36), IDNO);
    user.join();
    EXPECT_EQ(box.right, 20 + 640 - 10);
    EXPECT_EQ(box.bottom, 20 + 480 - 10);
    EXPECT_EQ(focus, yes) << "the focus is on Yes, the first visible button";
    EXPECT_TRUE(frameDisabled) << "the box is modal to the main window";
    EXPECT_TRUE(IsWindowEnabled(frame));
    Application::current().setMainWindow(nullptr);
    DestroyWindow(frame);
}

} // namespace
