// UninstallResultDialog: the "Uninstall" dialog, one check mark per step that succeeded.
#pragma once

#include "resources/resource.h"
#include "ui/Icon.h"
#include "ui/WizardPage.h"

class UninstallResultDialog : public WizardPage {
public:
    enum { IDD = IDD_UNINSTALL };

    // parent null: owned by the main window.
    explicit UninstallResultDialog(HWND parent = nullptr);

    // Shows control id (a check mark, or the success or failure summary) and repaints.
    void showItem(int id);

protected:
    // The check marks at the small icon size of the dialog's scale: one per row of text,
    // where the template's large icons would run into the next row.
    bool onInitDialog() override;

private:
    Icon checkMark_;
};
