// UninstallResultDialog: the "Uninstall" dialog, one check mark per step that succeeded.
#pragma once

#include "resources/resource.h"
#include "ui/WizardPage.h"

class UninstallResultDialog : public WizardPage {
public:
    enum { IDD = IDD_UNINSTALL };

    // parent null: owned by the main window.
    explicit UninstallResultDialog(HWND parent = nullptr);

    // Shows control id (a check mark, or the success or failure summary) and repaints.
    void showItem(int id);
};
