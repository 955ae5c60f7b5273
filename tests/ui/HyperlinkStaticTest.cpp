// HyperlinkStatic on the "Install riched20.dll" page: font, colour, cursor, click, status.
#include "framework/PaintedWindow.h"
#include "host/SystemMetrics.h"
#include "tests/robot/Robot.h"
#include "ui/RichEditNoticePage.h"

#include "tests/ui/Runs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecordingLink : public HyperlinkStatic {
public:
    std::string followed;
    void followLink() override { followed = linkText().c_str(); }
};

class TestPage : public RichEditNoticePage {
public:
    RecordingLink recording;
    std::function<void(TestPage&)> whileShown;

protected:
    HyperlinkStatic& link() override { return recording; }
    bool onInitDialog() override
    {
        const bool result = RichEditNoticePage::onInitDialog();
        whileShown(*this);
        return result;
    }
};

TEST(HyperlinkStatic, LooksAndActsLikeALink)
{
    TestPage page;
    LOGFONTA dialogFont = {}, linkFont = {};
    LRESULT brush = 0;
    COLORREF colour = 0;
    HCURSOR cursor = nullptr;
    page.whileShown = [&](TestPage& shown) {
        HWND control = shown.item(IDC_LINK);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(shown.hwnd(), WM_GETFONT, 0, 0)), sizeof dialogFont,
                   &dialogFont);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof linkFont, &linkFont);
        HDC dc = GetDC(control);
        brush = SendMessageA(shown.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(control));
        colour = GetTextColor(dc);
        ReleaseDC(control, dc);
        SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        cursor = GetCursor();
        SendMessageA(control, WM_MOUSEMOVE, 0, 0);  // no status frame: nothing but the cursor
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    };
    robot::Robot user("Install riched20.dll", [](HWND window) { robot::click(window, IDCANCEL); });
    EXPECT_EQ(page.run(interactiveRun()), IDCANCEL);

    EXPECT_EQ(linkFont.lfUnderline, 1);
    EXPECT_EQ(dialogFont.lfUnderline, 0);
    EXPECT_STREQ(linkFont.lfFaceName, dialogFont.lfFaceName);
    EXPECT_EQ(linkFont.lfHeight, dialogFont.lfHeight);
    EXPECT_EQ(linkFont.lfWeight, dialogFont.lfWeight);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH))) << "the dialog's background shows";
    EXPECT_EQ(colour, sysColor(COLOR_HOTLIGHT));
    EXPECT_NE(cursor, nullptr);
    EXPECT_EQ(cursor, page.recording.cursor()) << "the hand cursor";
    EXPECT_EQ(page.recording.followed, "https://www.pembrox.com/download/riched20.zip");
}

class StatusFrame : public PaintedWindow {};

TEST(HyperlinkStatic, ShowsItsAddressInTheStatusLineWhileTheMouseIsOverIt)
{
    StatusFrame frame;
    ASSERT_TRUE(frame.create("StatusFrame", "status", WS_OVERLAPPEDWINDOW));
    TestPage page;
    std::string over;
    page.whileShown = [&](TestPage& shown) {
        shown.recording.setStatusFrame(frame.hwnd());
        SendMessageA(shown.item(IDC_LINK), WM_MOUSEMOVE, 0, 0);
        over = frame.statusText();
    };
    // The mouse is elsewhere when the 250 ms timer comes: the idle text returns.
    SetCursorPos(0, 0);
    robot::Robot user("Install riched20.dll", [](HWND window) {
        Sleep(600);
        robot::click(window, IDOK);
    });
    EXPECT_EQ(page.run(interactiveRun()), IDOK);
    EXPECT_EQ(over, "https://www.pembrox.com/download/riched20.zip");
    EXPECT_STREQ(frame.statusText(), "Ready");
}

} // namespace
