// PaintedWindow: a top-level window of ours that paints itself and has a status text.
#pragma once

#include <windows.h>

// The customary message that asks such a window to show a status text: wParam a string resource id
// (0 for none), else lParam the text.
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
// The string resource id of the idle status text.
constexpr UINT idleMessageId = 57345;

class PaintedWindow {
public:
    PaintedWindow() = default;
    // Destroys the window if it still exists.
    virtual ~PaintedWindow();
    PaintedWindow(const PaintedWindow&) = delete;
    PaintedWindow& operator=(const PaintedWindow&) = delete;

    // Registers className (once) and creates the window at the system's default position
    // and size. False when the system refuses (last error set).
    bool create(const char* className, const char* title, DWORD style, HWND parent = nullptr);
    HWND hwnd() const { return hwnd_; }
    // The text last shown in the status line.
    const char* statusText() const { return status_; }

protected:
    // Paints the client area; dc is the painting device context.
    virtual void onPaint(HDC dc, const RECT& client);
    // Returns true when the background counts as erased. Default: erase with the class brush.
    virtual bool onEraseBackground(HDC dc);
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    char status_[1024] = "";
};
