// pointFont: tenths of a point -> device pixels (LOGPIXELSY or a window's dpi) -> logical
// units of the dc; windowDpi through the system-function lookup.
#include "framework/PointFont.h"

#include "foundation/SystemLibrary.h"

#include <cstdlib>

LOGFONTA pointFont(const LOGFONTA& font, HDC dc)
{
    return pointFont(font, dc, GetDeviceCaps(dc, LOGPIXELSY));
}

LOGFONTA pointFont(const LOGFONTA& font, HDC dc, int dpi)
{
    LOGFONTA result = font;
    POINT height = {0, MulDiv(dpi, font.lfHeight, 720)};
    POINT origin = {0, 0};
    DPtoLP(dc, &height, 1);
    DPtoLP(dc, &origin, 1);
    result.lfHeight = -std::abs(height.y - origin.y);
    return result;
}

int windowDpi(HWND window)
{
    typedef UINT(WINAPI * GetDpiForWindowFunction)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(systemFunction("user32.dll", "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi)
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}
