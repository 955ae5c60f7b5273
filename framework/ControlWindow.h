// ControlWindow: a control of a dialog subclassed by a C++ object, with reflected messages.
#pragma once

#include <windows.h>

// Colour requests (WM_CTLCOLOR*) that a dialog of ours receives for a subclassed control are
// sent back to that control as reflected(message), so the control can colour itself.
class ControlWindow {
public:
    static constexpr UINT reflectBase = 0x2000;  // the customary OCM__BASE
    static constexpr UINT reflected(UINT message) { return reflectBase + message; }

    ControlWindow() = default;
    // Restores the control's own procedure if the control still exists.
    virtual ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    // Takes over control id of dialog. False (last error set) when there is no such control.
    bool subclassDlgItem(int id, HWND dialog);
    void unsubclass();
    HWND hwnd() const { return hwnd_; }

    // Sends a dialog's colour request reflected to control when it is subclassed by us and
    // answers a non-zero result (the brush). False otherwise.
    static bool reflect(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    // Every message of the control; the default passes it to the control's own procedure.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
};
