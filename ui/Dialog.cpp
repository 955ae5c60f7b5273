// Dialog: modeless creation, cancellation and the corner placement.
#include "ui/Dialog.h"

#include "framework/Application.h"
#include "ui/PumpMessages.h"

Dialog::Dialog(int templateId, HWND parent) : DialogWindow(templateId, parent) {}

void Dialog::create()
{
    if (!createModeless())
        throw Exception("Create failure");
    ShowWindow(hwnd(), SW_SHOW);
}

bool Dialog::pollCancel()
{
    if (hwnd() && IsWindow(hwnd()))
        pumpMessages();
    if (Application::current().sessionEnding()) {
        SetLastError(ERROR_SHUTDOWN_IN_PROGRESS);
        return true;
    }
    if (!cancelled_)
        return false;
    SetLastError(ERROR_CANCELLED);
    return true;
}

void Dialog::onCancel()
{
    endDialog(IDCANCEL);
    DestroyWindow(hwnd());
    cancelled_ = true;
}

void Dialog::placeAtParentCorner()
{
    HWND parent = GetWindow(hwnd(), GW_OWNER);
    if (!parent || !IsWindowVisible(parent))
        return;
    RECT parentRect;
    GetWindowRect(parent, &parentRect);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd(), &placement))
        throw Exception("GetWindowPlacement failure");
    RECT& normal = placement.rcNormalPosition;
    const int width = normal.right - normal.left;
    const int height = normal.bottom - normal.top;
    normal.right = parentRect.right - 10;
    normal.bottom = parentRect.bottom - 10;
    normal.left = normal.right - width;
    normal.top = normal.bottom - height;
    if (!SetWindowPlacement(hwnd(), &placement))
        throw Exception("SetWindowPlacement failure");
}
