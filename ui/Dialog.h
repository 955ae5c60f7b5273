// Dialog: the base of every dialog of setup, modal or modeless, with cancel polling.
#pragma once

#include "foundation/Exception.h"
#include "framework/DialogWindow.h"

class Dialog : public DialogWindow {
public:
    // Texts such as "Create failure", "SetWindowPlacement failure".
    class Exception : public ::Exception {
    public:
        explicit Exception(const String& text) : ::Exception(text) {}
        explicit Exception(const char* text) : ::Exception(String(text)) {}
        const char* title() const override { return "Dialog error"; }
    };

    // parent null: owned by the application's main window (the title window).
    Dialog(int templateId, HWND parent);

    // Modeless: builds the window and shows it. Throws Exception "Create failure".
    void create();
    // For long work between its units: pumps pending messages while the window exists; then,
    // once the user cancelled, sets the last error to ERROR_CANCELLED and answers true; once
    // the session ended during a blocked change (Application::sessionEnding), sets it to
    // ERROR_SHUTDOWN_IN_PROGRESS and answers true, so that the work stops as a failure.
    bool pollCancel();
    bool cancelled() const { return cancelled_; }
    // Puts the dialog 10 pixels in from the lower right corner of its visible owner; does
    // nothing when the owner is missing or hidden. Throws Exception on a placement failure.
    void placeAtParentCorner();

protected:
    // Ends a modal run with 2, destroys the window and records the cancellation.
    void onCancel() override;

private:
    bool cancelled_ = false;
};
