// WizardPage: a page of the install wizard, and the base of the progress and result dialogs.
#pragma once

#include "ui/Dialog.h"

struct RunContext;

class WizardPage : public Dialog {
public:
    WizardPage(int templateId, HWND parent);

    // When the run is interactive, runs the page modally and returns the code that ended it
    // (1 Next or OK, 2 Cancel, 1000 Back); otherwise returns 1 without making a window.
    int run(const RunContext& context);
    // run(), then 1 advances index by one and 1000 moves it back by one; any other result
    // leaves it. False exactly when the result was 2 (Cancel).
    bool step(int& index, const RunContext& context);

protected:
    // The common start-up, then the corner placement when that succeeded.
    bool onInitDialog() override;
    // Back (1000) ends the page with 1000.
    bool onCommand(int id, int code, HWND control) override;
};
