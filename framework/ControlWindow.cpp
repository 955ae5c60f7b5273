// ControlWindow: the object is found through a window property of the control.
#include "framework/ControlWindow.h"

#include "framework/WindowFailure.h"

namespace {
const char property[] = "Framework.ControlWindow";
}

ControlWindow::~ControlWindow()
{
    unsubclass();
}

bool ControlWindow::subclassDlgItem(int id, HWND dialog)
{
    unsubclass();
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return false;
    hwnd_ = control;
    SetPropA(control, property, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
    return true;
}

void ControlWindow::unsubclass()
{
    if (!hwnd_)
        return;
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropA(hwnd_, property);
    }
    hwnd_ = nullptr;
    original_ = nullptr;
}

bool ControlWindow::reflect(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!control || !GetPropA(control, property))
        return false;
    *result = SendMessageA(control, reflected(message), wParam, lParam);
    return *result != 0;
}

LRESULT ControlWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProc(message, wParam, lParam);
}

LRESULT ControlWindow::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= reflectBase && message < reflectBase + 0x1000)
        return 0;
    return CallWindowProcA(original_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK ControlWindow::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* control = static_cast<ControlWindow*>(GetPropA(hwnd, property));
    if (!control)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = control->original_;
        control->unsubclass();
        return CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    try {
        return control->windowProc(message, wParam, lParam);
    } catch (...) {
        keepWindowFailure();
        return 0;
    }
}
