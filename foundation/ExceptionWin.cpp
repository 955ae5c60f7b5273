// ExceptionWin: the text of failures of Windows calls. Apart from Exception.cpp, which
// needs no Windows.
#include "foundation/ExceptionWin.h"

#include "foundation/ErrorText.h"

#include <windows.h>

ExceptionWin::ExceptionWin(const String& text)
{
    const DWORD error = GetLastError();
    if (error == 0)
        setText(text);
    else
        setText(text + ": " + errorText(static_cast<int32_t>(error)));
}
