// DialogWindow: the framework's dialog built from a template, run modally or modelessly.
#pragma once

#include "framework/DataExchange.h"

#include <windows.h>

// The object is passed to the dialog as its creation parameter and kept in DWLP_USER; the
// dialog procedure dispatches to the virtual hooks below. A modal run is a modeless window
// with the owner disabled and a modal loop, so that a handler may also destroy the window.
// A failure thrown by a hook is carried out of the dialog procedure and rethrown by the
// call that ran the loop (doModal, createModeless, runModalLoop, Application::pumpMessage).
class DialogWindow {
public:
    // parent null: owned by the application's main window.
    DialogWindow(int templateId, HWND parent);
    // Destroys the window if it still exists.
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Runs the dialog modally and returns the code given to endDialog (-1 when the window
    // could not be built; 2 when it was destroyed without endDialog).
    int doModal();
    // Builds the window without showing it unless the template is visible; registers it for
    // keyboard handling. False when the system refuses to build it.
    bool createModeless();
    // The modal loop for a dialog made by createModeless: the owner is disabled until
    // endDialog is called or the window is destroyed. Returns the code given to endDialog.
    int runModalLoop();
    // Ends a modal run (or the modal loop) with result. The window stays until the run ends.
    void endDialog(int result);

    HWND hwnd() const { return hwnd_; }
    int templateId() const { return templateId_; }
    // The parent given at construction, else the application's main window (may be null).
    HWND owner() const;
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    // Controls to members (saving) or members to controls; false when validation failed.
    bool updateData(bool saving);

protected:
    // Shows the members in the controls; returns true to let the system set the focus.
    virtual bool onInitDialog();
    // WM_COMMAND: IDOK and IDCANCEL go to onOK and onCancel. Returns whether it was handled.
    virtual bool onCommand(int id, int code, HWND control);
    // Reads the controls back and ends with IDOK when that succeeds.
    virtual void onOK();
    virtual void onCancel();
    virtual bool doDataExchange(DataExchange& exchange);
    // Messages not handled above; return true when handled (with *result set).
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);
    // Centres the dialog over a visible owner, else on the screen (done before onInitDialog,
    // since every template of ours sits at (0, 0)).
    void centerWindow();

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    int result_ = -1;
    bool inModalLoop_ = false;
};
