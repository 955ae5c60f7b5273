// RichEditNoticePage: attaching the link.
#include "ui/RichEditNoticePage.h"

RichEditNoticePage::RichEditNoticePage(HWND parent) : WizardPage(IDD, parent) {}

bool RichEditNoticePage::onInitDialog()
{
    const bool result = WizardPage::onInitDialog();
    link().attach(IDC_LINK, hwnd());
    return result;
}
