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

} // namespace
