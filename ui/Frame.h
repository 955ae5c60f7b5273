// Frame: the painted title window, the application's main window behind every dialog.
#pragma once

#include "framework/PaintedWindow.h"

class Frame : public PaintedWindow {
public:
    // The maker's web address drawn at the bottom.
    static const char webAddress[];

    // Creates the window (hidden) with the title of string 57344 and the product icon, at
    // least 640 pixels wide (the system's default place, through normalPosition). False
    // when the system refuses.
    bool create();

    // The normal position the window takes for the system's default: that one when it is
    // at least 640 pixels wide, else 640 x 480 at the desktop's corner.
    static RECT normalPosition(const RECT& given);

protected:
    // The paint covers everything; nothing to erase.
    bool onEraseBackground(HDC) override { return true; }
    // The blue-to-purple bands, then the product name, subtitle, version, the maker's logo
    // and name, and the web address, each with a shadow.
    // Lengths, fonts and the logo at the window's scale (its monitor's where Windows knows
    // one per monitor).
    void onPaint(HDC dc, const RECT& client) override;
    // WM_DPICHANGED (moved to a monitor of another scale): takes the size Windows suggests
    // and paints again, with fonts and logo made for the new scale.
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
