// PaintedWindow: painting, the status text and the wait cursor.
#include "framework/Application.h"
#include "framework/PaintedWindow.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class RedFrame : public PaintedWindow {
public:
    int paints = 0;

protected:
    void onPaint(HDC dc, const RECT& client) override
    {
        ++paints;
        HBRUSH brush = CreateSolidBrush(RGB(200, 0, 0));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    bool onEraseBackground(HDC) override { return true; }
};

TEST(PaintedWindow, PaintsItsClientAreaAndKeepsAStatusText)
{
    RedFrame frame;
    ASSERT_TRUE(frame.create("FrameworkTestFrame", "Frame Test", WS_OVERLAPPEDWINDOW));
    ShowWindow(frame.hwnd(), SW_SHOW);
    UpdateWindow(frame.hwnd());
    EXPECT_GE(frame.paints, 1);
    HDC dc = GetDC(frame.hwnd());
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(200, 0, 0));
    ReleaseDC(frame.hwnd(), dc);

    SendMessageA(frame.hwnd(), WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("over the link"));
    EXPECT_STREQ(frame.statusText(), "over the link");
    SendMessageA(frame.hwnd(), WM_SETMESSAGESTRING, idleMessageId, 0);
    EXPECT_STREQ(frame.statusText(), "Ready");

    Application::current().doWaitCursor(1);
    SendMessageA(frame.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(frame.hwnd()), HTCLIENT);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT)) << "the hourglass stays over our windows";
    Application::current().doWaitCursor(-1);

    HWND window = frame.hwnd();
    Application::current().setMainWindow(window);
    DestroyWindow(window);
    EXPECT_EQ(frame.hwnd(), nullptr);
    EXPECT_EQ(Application::current().mainWindow(), nullptr) << "no dialog may be owned by a destroyed window";
}

TEST(PaintedWindow, AsksTheSessionToWaitWhileBlocked)
{
    // An application of the test's own, so that the session's end stays with it.
    Application application;
    RedFrame frame;
    ASSERT_TRUE(frame.create("FrameworkTestFrame", "Frame Test", WS_OVERLAPPEDWINDOW));
    application.setMainWindow(frame.hwnd());
    struct Case {
        bool blocked;
        UINT message;
        WPARAM wParam;
        LRESULT answer;
        bool ending;
    };
    const Case cases[] = {
        {false, WM_QUERYENDSESSION, 0, TRUE, false},
        {false, WM_ENDSESSION, TRUE, 0, false},
        {true, WM_QUERYENDSESSION, 0, FALSE, false},
        {true, WM_ENDSESSION, FALSE, 0, false}, // the end was called off
        {true, WM_ENDSESSION, TRUE, 0, true},
    };
    for (const Case& c : cases) {
        if (c.blocked)
            application.beginSessionBlock("Installing Trelliq");
        EXPECT_EQ(SendMessageA(frame.hwnd(), c.message, c.wParam, 0), c.answer)
            << "message " << c.message << " blocked " << c.blocked;
        EXPECT_EQ(application.sessionEnding(), c.ending) << "message " << c.message << " blocked " << c.blocked;
        EXPECT_EQ(application.sessionBlocked(), c.blocked);
        if (c.blocked)
            application.endSessionBlock();
        EXPECT_FALSE(application.sessionBlocked());
    }
    // Wine's ShutdownBlockReasonCreate keeps nothing (a stub): the reason is not read back.
    application.setMainWindow(nullptr);
}

} // namespace
