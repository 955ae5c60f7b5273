// DialogWindow: creation, the modal loop and the dialog procedure.
#include "framework/DialogWindow.h"

#include "framework/Application.h"
#include "framework/ControlWindow.h"
#include "framework/WindowFailure.h"

DialogWindow::DialogWindow(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

DialogWindow::~DialogWindow()
{
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

HWND DialogWindow::owner() const
{
    return parent_ ? parent_ : Application::current().mainWindow();
}

bool DialogWindow::createModeless()
{
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner(),
                                     dialogProc, reinterpret_cast<LPARAM>(this));
    if (!window) {
        // A failure of onInitDialog destroys the half-made window; report it, not "no window".
        rethrowWindowFailure();
        return false;
    }
    Application::current().addModeless(window);
    rethrowWindowFailure();
    return true;
}

int DialogWindow::doModal()
{
    HWND ownerWindow = owner();
    const bool enableOwner = ownerWindow && IsWindowEnabled(ownerWindow);
    if (enableOwner)
        EnableWindow(ownerWindow, FALSE);
    result_ = -1;
    int result = -1;
    try {
        if (createModeless())
            result = runModalLoop();
    } catch (...) {
        if (enableOwner)
            EnableWindow(ownerWindow, TRUE);
        if (hwnd_)
            DestroyWindow(hwnd_);
        throw;
    }
    // Enable the owner before the dialog goes, so that activation returns to it.
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (enableOwner) {
        EnableWindow(ownerWindow, TRUE);
        SetActiveWindow(ownerWindow);
    }
    if (hwnd_)
        DestroyWindow(hwnd_);
    return result;
}

int DialogWindow::runModalLoop()
{
    HWND ownerWindow = owner();
    const bool enableOwner = ownerWindow && IsWindowEnabled(ownerWindow);
    if (enableOwner)
        EnableWindow(ownerWindow, FALSE);
    if (hwnd_ && !IsWindowVisible(hwnd_))
        ShowWindow(hwnd_, SW_SHOWNORMAL);
    inModalLoop_ = true;
    // A window destroyed without endDialog counts as cancelled.
    result_ = 2;
    try {
        while (inModalLoop_ && hwnd_) {
            if (!Application::current().pumpMessage()) {
                PostQuitMessage(0);  // the main loop must still see the quit request
                break;
            }
        }
    } catch (...) {
        inModalLoop_ = false;
        if (enableOwner)
            EnableWindow(ownerWindow, TRUE);
        throw;
    }
    inModalLoop_ = false;
    if (enableOwner)
        EnableWindow(ownerWindow, TRUE);
    return result_;
}

void DialogWindow::endDialog(int result)
{
    result_ = result;
    inModalLoop_ = false;
}

bool DialogWindow::updateData(bool saving)
{
    DataExchange exchange(hwnd_, saving);
    return doDataExchange(exchange);
}

bool DialogWindow::onInitDialog()
{
    updateData(false);
    return true;
}

bool DialogWindow::onCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    if (id == IDOK)
        onOK();
    else if (id == IDCANCEL)
        onCancel();
    else
        return false;
    return true;
}

void DialogWindow::onOK()
{
    if (updateData(true))
        endDialog(IDOK);
}

void DialogWindow::onCancel()
{
    endDialog(IDCANCEL);
}

bool DialogWindow::doDataExchange(DataExchange&)
{
    return true;
}

bool DialogWindow::onMessage(UINT, WPARAM, LPARAM, INT_PTR*)
{
    return false;
}

void DialogWindow::centerWindow()
{
    RECT dialog;
    GetWindowRect(hwnd_, &dialog);
    RECT area;
    HWND ownerWindow = GetWindow(hwnd_, GW_OWNER);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT bounds = area;
    if (ownerWindow && IsWindowVisible(ownerWindow) && !IsIconic(ownerWindow))
        GetWindowRect(ownerWindow, &bounds);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    int x = (bounds.left + bounds.right - width) / 2;
    int y = (bounds.top + bounds.bottom - height) / 2;
    // Keep the dialog on the work area.
    if (x + width > area.right)
        x = area.right - width;
    if (y + height > area.bottom)
        y = area.bottom - height;
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogWindow::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<DialogWindow*>(lParam);
        dialog->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!dialog)
        return FALSE;
    if (message == WM_NCDESTROY) {
        Application::current().removeModeless(hwnd);
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        return dialog->dispatch(message, wParam, lParam);
    } catch (...) {
        keepWindowFailure();
        if (message == WM_INITDIALOG) {
            DestroyWindow(hwnd);
            return FALSE;
        }
        dialog->endDialog(-1);
        return TRUE;
    }
}

INT_PTR DialogWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if ((GetWindowLongA(hwnd_, GWL_STYLE) & (DS_CENTER | DS_ABSALIGN)) == 0)
            centerWindow();
        return onInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: {
        LRESULT brush = 0;
        if (ControlWindow::reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &brush))
            return static_cast<INT_PTR>(brush);
        break;
    }
    case WM_SETCURSOR:
        if (Application::current().waitCursorCount() > 0) {
            SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // Every top-level window of ours answers as the title window does: the dialogs are
        // asked too, and in front of the others.
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, Application::current().onSessionMessage(message, wParam));
        return TRUE;
    default:
        break;
    }
    INT_PTR result = FALSE;
    if (onMessage(message, wParam, lParam, &result))
        return result;
    return FALSE;
}
