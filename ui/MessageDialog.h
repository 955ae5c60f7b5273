// MessageDialog: setup's own message box, which every message of the program goes through.
#pragma once

#include "resources/resource.h"
#include "ui/Dialog.h"

// Icon from the style's icon bits: MB_ICONHAND error, MB_ICONQUESTION question,
// MB_ICONASTERISK information, anything else warning. Buttons from the style's button bits:
// MB_OKCANCEL OK and Cancel, MB_YESNO Yes and No, anything else OK. Results: 1 OK, 6 Yes,
// 7 No; 2 for Cancel, Escape and the close box in every kind of box.
class MessageDialog : public Dialog {
public:
    enum { IDD = IDD_MESSAGE };

    MessageDialog(HWND parent, const String& text, unsigned style);

    // Runs a MessageDialog owned by the application's main window and returns its result.
    // When the dialog cannot be built, the system's message box shows the text instead.
    // Fits setMessageBoxHandler and Application::doMessageBox.
    static int show(const char* text, unsigned style);
    // Makes show() the program's message box (setMessageBoxHandler).
    static void install();

    // The control ids of the icon and of the buttons that a style shows.
    static int iconFor(unsigned style);
    static bool showsYesNo(unsigned style) { return (style & 0x0F) == MB_YESNO; }
    static bool showsCancel(unsigned style) { return (style & 0x0F) == MB_OKCANCEL; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    String text_;
    unsigned style_;
};
