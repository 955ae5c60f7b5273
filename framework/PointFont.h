// pointFont: a LOGFONT whose lfHeight is given in tenths of a point, made for a device.
#pragma once

#include <windows.h>

// Returns font with lfHeight converted from tenths of a point to the logical units of dc
// (negative: a character height), as a font of that point size appears on that device.
LOGFONTA pointFont(const LOGFONTA& font, HDC dc);
