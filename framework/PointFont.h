// pointFont: a LOGFONT whose lfHeight is given in tenths of a point, made for a device;
// windowDpi and scaled: the dots per inch a window is drawn at, and lengths at it.
#pragma once

#include <windows.h>

// Returns font with lfHeight converted from tenths of a point to the logical units of dc
// (negative: a character height), as a font of that point size appears on that device.
LOGFONTA pointFont(const LOGFONTA& font, HDC dc);
// As above, at dpi dots per inch instead of the dc's own (a window's monitor may have
// another scale than the one the dc reports).
LOGFONTA pointFont(const LOGFONTA& font, HDC dc, int dpi);

// The dots per inch window is drawn at: its monitor's under a per-monitor aware program
// (GetDpiForWindow, Windows 10 1607 and later, looked up at run time), else the screen's
// LOGPIXELSY (the system's scale, the only one older Windows knows).
int windowDpi(HWND window);

// value, a length in pixels at 96 dots per inch, at dpi.
inline int scaled(int value, int dpi)
{
    return MulDiv(value, dpi, 96);
}
