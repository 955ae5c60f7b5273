// UpdateRegistryDialog: the modeless "Update Registry" status dialog with its Cancel button.
#pragma once

#include "resources/resource.h"
#include "ui/WizardPage.h"

class UpdateRegistryDialog : public WizardPage {
public:
    enum { IDD = IDD_UPDATE_REGISTRY };

    // parent null: owned by the main window.
    explicit UpdateRegistryDialog(HWND parent = nullptr);

    // Keeps text (the setting being written); shows it at once when the window exists.
    // Works without a window, so callers can read the text back for their messages.
    void setText(const String& text);
    const String& text() const { return text_; }

protected:
    bool onInitDialog() override;

private:
    String text_;
};
