// RegistryStepView: the "Update Registry" dialog and the wait cursor, as the host's registry
// steps reach them (UpdateRegistryView and RegistryStep's shown text).
#pragma once

#include "host/UpdateRegistryView.h"
#include "ui/UpdateRegistryDialog.h"
#include "ui/WaitCursor.h"

#include <optional>

// While it lives, it is the installed view and every RegistryStep::setText goes to the
// dialog, which it does not own. show throws Dialog::Exception when the window cannot be
// made.
class RegistryStepView : public UpdateRegistryView {
public:
    explicit RegistryStepView(UpdateRegistryDialog& dialog);
    ~RegistryStepView() override;
    RegistryStepView(const RegistryStepView&) = delete;
    RegistryStepView& operator=(const RegistryStepView&) = delete;

    void show() override;
    void hide() override;
    bool pollCancel() override;
    void beginWaitCursor() override;
    void endWaitCursor() override;

private:
    static void showText(const String& text);

    UpdateRegistryDialog& dialog_;
    // The wait cursor between beginWaitCursor and endWaitCursor.
    std::optional<WaitCursor> waiting_;
    UpdateRegistryView* previousView_;
    void (*previousHandler_)(const String&);
};
