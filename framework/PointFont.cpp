// pointFont: tenths of a point -> device pixels (LOGPIXELSY) -> logical units of the dc.
#include "framework/PointFont.h"

#include <cstdlib>

LOGFONTA pointFont(const LOGFONTA& font, HDC dc)
{
    LOGFONTA result = font;
    POINT height = {0, MulDiv(GetDeviceCaps(dc, LOGPIXELSY), font.lfHeight, 720)};
    POINT origin = {0, 0};
    DPtoLP(dc, &height, 1);
    DPtoLP(dc, &origin, 1);
    result.lfHeight = -std::abs(height.y - origin.y);
    return result;
}
