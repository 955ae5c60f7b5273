// ControlWindow: a subclassed control colours itself through the reflected colour request.
#include "framework/ControlWindow.h"
#include "framework/DialogWindow.h"

#include <gtest/gtest.h>

namespace {

class ColouredStatic : public ControlWindow {
public:
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    int requests = 0;
    int clicks = 0;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == reflected(WM_CTLCOLORSTATIC)) {
            ++requests;
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
            return reinterpret_cast<LRESULT>(brush);
        }
        if (message == WM_LBUTTONDOWN)
            ++clicks;
        return ControlWindow::windowProc(message, wParam, lParam);
    }
};

TEST(ControlWindow, ColourRequestsAreReflectedToTheSubclassedControl)
{
    DialogWindow dialog(100, nullptr);
    ASSERT_TRUE(dialog.createModeless());
    HWND label = dialog.item(14);
    HDC dc = GetDC(label);

    // Not subclassed: the dialog leaves the request to the system.
    LRESULT plain = SendMessageA(dialog.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label));
    {
        ColouredStatic control;
        ASSERT_TRUE(control.subclassDlgItem(14, dialog.hwnd()));
        EXPECT_EQ(control.hwnd(), label);
        LRESULT answer = SendMessageA(dialog.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(label));
        EXPECT_EQ(answer, reinterpret_cast<LRESULT>(control.brush));
        EXPECT_NE(answer, plain);
        EXPECT_EQ(control.requests, 1);
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
        SendMessageA(label, WM_LBUTTONDOWN, 0, 0);
        EXPECT_EQ(control.clicks, 1) << "the control's own messages reach the object";
        EXPECT_FALSE(control.subclassDlgItem(77, dialog.hwnd())) << "no such control";
    }
    // The object is gone: the control has its own procedure back.
    EXPECT_EQ(SendMessageA(dialog.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(label)),
              plain);
    ReleaseDC(label, dc);
}

} // namespace
