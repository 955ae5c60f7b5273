// UninstallResultDialog: showing rows.
#include "ui/UninstallResultDialog.h"

UninstallResultDialog::UninstallResultDialog(HWND parent) : WizardPage(IDD, parent) {}

void UninstallResultDialog::showItem(int id)
{
    if (!hwnd())
        return;
    ShowWindow(item(id), SW_SHOW);
    UpdateWindow(hwnd());
}
