// CopyFilesDialog: the modeless "Copy Files" progress dialog of the extraction.
#pragma once

#include "resources/resource.h"
#include "ui/TaskbarProgress.h"
#include "ui/WizardPage.h"

class CopyFilesDialog : public WizardPage {
public:
    enum { IDD = IDD_COPY_FILES };
    // Milliseconds between two pictures of the dialog during a run of nextFile calls.
    enum { paintInterval = 100 };

    // parent null: owned by the main window.
    explicit CopyFilesDialog(HWND parent = nullptr);

    // The progress bar (its range is set by the caller with PBM_SETRANGE); null when the
    // window is gone.
    HWND progressBar() const { return hwnd() ? item(IDC_PROGRESS) : nullptr; }
    const String& text() const { return text_; }

    // Advances the bar by exactly 1 and keeps text as the current one. The picture follows
    // at once for the first call, then at most every paintInterval milliseconds and whenever
    // the bar is full: the dialog is made the active window, shows the current text and is
    // repainted with the bar. Between two pictures the bar's drawing is switched off
    // (WM_SETREDRAW), so its steps cost no painting; its last picture stays on screen. A
    // product of 2000 files passes in a few seconds, and under Wine a picture per file took
    // longer than writing the files. Once the window is gone (the user closed it), only the
    // text is kept: nothing else happens and nothing fails.
    void nextFile(const String& text);
    // The taskbar button of the main window turns red (a failure is being reported); its
    // progress is cleared when the dialog goes.
    void showFailure() { taskbar_.showError(); }

protected:
    bool onInitDialog() override;

private:
    String text_;
    HWND bar_ = nullptr;
    HWND label_ = nullptr;
    bool barDrawing_ = true;
    bool painted_ = false;
    DWORD paintedAt_ = 0;
    // The bar again in the main window's taskbar button, at each picture.
    TaskbarProgress taskbar_;
};
