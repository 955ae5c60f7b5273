// UninstallResultDialog: showing rows.
#include "ui/UninstallResultDialog.h"

#include "framework/PointFont.h"

UninstallResultDialog::UninstallResultDialog(HWND parent) : WizardPage(IDD, parent) {}

bool UninstallResultDialog::onInitDialog()
{
    const bool result = WizardPage::onInitDialog();
    checkMark_.load(IDI_CHECK_MARK, Icon::small, windowDpi(hwnd()));
    // The static control takes the icon's size.
    const int rows[] = {IDC_CHECK_PROGRAM_MENU, IDC_CHECK_REGISTRY, IDC_CHECK_FILES};
    for (int id : rows)
        SendMessageA(item(id), STM_SETICON, reinterpret_cast<WPARAM>(checkMark_.handle()), 0);
    return result;
}

void UninstallResultDialog::showItem(int id)
{
    if (!hwnd())
        return;
    ShowWindow(item(id), SW_SHOW);
    UpdateWindow(hwnd());
}
