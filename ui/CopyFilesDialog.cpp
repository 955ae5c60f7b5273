// CopyFilesDialog: one step of the bar per file, pictures at a steady pace.
#include "ui/CopyFilesDialog.h"

#include "foundation/SystemLibrary.h"
#include "framework/Application.h"

#include <commctrl.h>

CopyFilesDialog::CopyFilesDialog(HWND parent)
    : WizardPage(IDD, parent), taskbar_(Application::current().mainWindow())
{
    // The progress bar's window class is registered by the common controls library.
    initCommonControls();
}

bool CopyFilesDialog::onInitDialog()
{
    const bool result = WizardPage::onInitDialog();
    bar_ = item(IDC_PROGRESS);
    label_ = item(IDC_CURRENT_FILE);
    return result;
}

void CopyFilesDialog::nextFile(const String& text)
{
    text_ = text;
    if (!hwnd())
        return;

    if (barDrawing_) {
        SendMessageA(bar_, WM_SETREDRAW, FALSE, 0);
        barDrawing_ = false;
    }
    const int position = static_cast<int>(SendMessageA(bar_, PBM_DELTAPOS, 1, 0)) + 1;
    const bool full = position >= static_cast<int>(SendMessageA(bar_, PBM_GETRANGE, FALSE, 0));
    const DWORD now = GetTickCount();
    if (painted_ && now - paintedAt_ < paintInterval && !full)
        return;

    // Only when it is not already: Wine makes even a repeated activation cost about 3 ms.
    if (GetActiveWindow() != hwnd())
        SetActiveWindow(hwnd());
    SetWindowTextA(label_, text_.c_str());
    SendMessageA(bar_, WM_SETREDRAW, TRUE, 0);
    barDrawing_ = true;
    InvalidateRect(bar_, nullptr, TRUE);
    UpdateWindow(hwnd());
    taskbar_.show(position, static_cast<int>(SendMessageA(bar_, PBM_GETRANGE, FALSE, 0)));
    painted_ = true;
    paintedAt_ = now;
}
