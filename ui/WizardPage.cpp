// WizardPage: run, step and the Back button.
#include "ui/WizardPage.h"

#include "host/RunContext.h"
#include "resources/resource.h"

WizardPage::WizardPage(int templateId, HWND parent) : Dialog(templateId, parent) {}

int WizardPage::run(const RunContext& context)
{
    if (!context.interactive)
        return IDOK;
    const int result = doModal();
    // A page that cannot be shown must not look like one that stayed: the wizard would ask
    // for it again and again.
    if (result == -1)
        throw Exception("Create failure");
    return result;
}

bool WizardPage::step(int& index, const RunContext& context)
{
    const int result = run(context);
    if (result == IDOK)
        ++index;
    else if (result == IDC_BACK)
        --index;
    return result != IDCANCEL;
}

bool WizardPage::onInitDialog()
{
    const bool result = Dialog::onInitDialog();
    if (result)
        placeAtParentCorner();
    return result;
}

bool WizardPage::onCommand(int id, int code, HWND control)
{
    if (id == IDC_BACK && code == BN_CLICKED) {
        endDialog(IDC_BACK);
        return true;
    }
    return Dialog::onCommand(id, code, control);
}
