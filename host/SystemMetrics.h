// System metrics and colours for painting.
#pragma once

#include <windows.h>

// SystemParametersInfoA; a zero result throws Win::Exception "SystemParametersInfo failure".
BOOL systemParametersInfo(UINT action, UINT param, void* data, UINT winIni);

// GetSysColor, with blue for COLOR_HOTLIGHT on systems that do not know that index.
COLORREF sysColor(int index);
