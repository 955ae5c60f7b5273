// beginWaitCursor, endWaitCursor: the counter of the application, around the last error,
// so that a caller can still report the error of the step before.
#include "ui/WaitCursor.h"

#include "framework/Application.h"

void beginWaitCursor()
{
    const DWORD error = GetLastError();
    Application::current().doWaitCursor(1);
    SetLastError(error);
}

void endWaitCursor()
{
    const DWORD error = GetLastError();
    Application::current().doWaitCursor(-1);
    SetLastError(error);
}
