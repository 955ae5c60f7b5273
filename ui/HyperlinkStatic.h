// HyperlinkStatic: a static text control that looks and acts like a web link.
#pragma once

#include "foundation/String.h"
#include "framework/ControlWindow.h"
#include "ui/Font.h"

// Underlined in the dialog's font, in the system's hot-tracking colour on the dialog's own
// background, with a hand cursor; a click opens the control's text as an address. The
// control needs the notify style to get clicks.
class HyperlinkStatic : public ControlWindow {
public:
    HyperlinkStatic();

    // Takes over control id of dialog and gives it the underlined copy of its font.
    bool attach(int id, HWND dialog);
    // A frame whose status line shows the link while the mouse is over it (none at first).
    void setStatusFrame(HWND frame) { statusFrame_ = frame; }
    HCURSOR cursor() const { return cursor_; }

    // Opens linkText() with openDocument.
    virtual void followLink();
    // The address: the control's text (at most 1023 characters).
    virtual String linkText() const;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND statusFrame_ = nullptr;
    HCURSOR cursor_;
    Font linkFont_;
};
