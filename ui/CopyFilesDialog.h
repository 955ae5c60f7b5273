// CopyFilesDialog: the modeless "Copy Files" progress dialog of the extraction.
#pragma once

#include "resources/resource.h"
#include "ui/WizardPage.h"

class CopyFilesDialog : public WizardPage {
public:
    enum { IDD = IDD_COPY_FILES };

    // parent null: owned by the main window.
    explicit CopyFilesDialog(HWND parent = nullptr);

    // The progress bar (its range is set by the caller with PBM_SETRANGE); null when the
    // window is gone.
    HWND progressBar() const { return hwnd() ? item(IDC_PROGRESS) : nullptr; }
    const String& text() const { return text_; }

    // Activates the dialog, shows text, advances the bar by 1 and repaints at once. Once the
    // window is gone (the user closed it), only the text is kept: nothing else happens and
    // nothing fails.
    void nextFile(const String& text);

private:
    String text_;
};
