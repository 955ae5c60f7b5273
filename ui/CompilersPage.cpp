// CompilersPage: the five check boxes.
#include "ui/CompilersPage.h"

CompilersPage::CompilersPage(HWND parent) : WizardPage(IDD, parent) {}

bool CompilersPage::doDataExchange(DataExchange& exchange)
{
    exchange.check(IDC_BORLAND, borland_);
    exchange.check(IDC_GNU, gnu_);
    exchange.check(IDC_MICROSOFT, microsoft_);
    exchange.check(IDC_MICROTEC, microtec_);
    exchange.check(IDC_TASKING, tasking_);
    return true;
}
