// UpdateRegistryDialog: the current setting's name.
#include "ui/UpdateRegistryDialog.h"

UpdateRegistryDialog::UpdateRegistryDialog(HWND parent) : WizardPage(IDD, parent) {}

void UpdateRegistryDialog::setText(const String& text)
{
    text_ = text;
    if (!hwnd())
        return;
    SetDlgItemTextA(hwnd(), IDC_REGISTRY_TEXT, text_.c_str());
    UpdateWindow(hwnd());
}

bool UpdateRegistryDialog::onInitDialog()
{
    const bool result = WizardPage::onInitDialog();
    SetDlgItemTextA(hwnd(), IDC_REGISTRY_TEXT, text_.c_str());
    return result;
}
