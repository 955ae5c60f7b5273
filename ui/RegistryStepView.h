// RegistryStepView: the "Update Registry" dialog and the wait cursor, as the host's registry
// steps reach them.
#pragma once

#include "host/UpdateRegistryView.h"
#include "ui/UpdateRegistryDialog.h"
#include "ui/WaitCursor.h"

#include <optional>

// Shows the settings being written in the dialog, which it does not own. show throws
// Dialog::Exception when the window cannot be made.
class RegistryStepView : public UpdateRegistryView {
public:
    explicit RegistryStepView(UpdateRegistryDialog& dialog) : dialog_(dialog) {}
    RegistryStepView(const RegistryStepView&) = delete;
    RegistryStepView& operator=(const RegistryStepView&) = delete;

    void show() override;
    void hide() override;
    void showText(const String& text) override;
    bool pollCancel() override;
    void beginWaitCursor() override;
    void endWaitCursor() override;

private:
    UpdateRegistryDialog& dialog_;
    // The wait cursor between beginWaitCursor and endWaitCursor.
    std::optional<WaitCursor> waiting_;
};
