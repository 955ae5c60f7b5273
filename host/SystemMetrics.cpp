// System metrics and colours for painting.
#include "host/SystemMetrics.h"

#include "foundation/ExceptionWin.h"

BOOL systemParametersInfo(UINT action, UINT param, void* data, UINT winIni)
{
    const BOOL result = SystemParametersInfoA(action, param, data, winIni);
    if (!result)
        throw Win::Exception("SystemParametersInfo failure");
    return result;
}

COLORREF sysColor(int index)
{
    const COLORREF color = GetSysColor(index);
    // Windows 95 and NT 4.0 have no hot-light colour and answer black.
    if (color == 0 && index == COLOR_HOTLIGHT)
        return 0xFF0000;
    return color;
}
