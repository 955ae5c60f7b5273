// WaitCursor: the counter of the application, around the last error.
#include "ui/WaitCursor.h"

#include "framework/Application.h"

WaitCursor::WaitCursor()
{
    const DWORD error = GetLastError();
    Application::current().doWaitCursor(1);
    SetLastError(error);
}

WaitCursor::~WaitCursor()
{
    const DWORD error = GetLastError();
    Application::current().doWaitCursor(-1);
    SetLastError(error);
}
