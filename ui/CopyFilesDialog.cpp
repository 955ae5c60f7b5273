// CopyFilesDialog: one step of the bar per file.
#include "ui/CopyFilesDialog.h"

#include <commctrl.h>

CopyFilesDialog::CopyFilesDialog(HWND parent) : WizardPage(IDD, parent)
{
    // The progress bar's window class is registered by the common controls library.
    InitCommonControls();
}

void CopyFilesDialog::nextFile(const String& text)
{
    text_ = text;
    if (!hwnd())
        return;
    // Only when it is not already: Wine makes even a repeated activation cost about 3 ms,
    // which for a product of 2000 files was half of the install's time.
    if (GetActiveWindow() != hwnd())
        SetActiveWindow(hwnd());
    SetDlgItemTextA(hwnd(), IDC_CURRENT_FILE, text_.c_str());
    SendMessageA(item(IDC_PROGRESS), PBM_DELTAPOS, 1, 0);
    UpdateWindow(hwnd());
}
