// MessageDialog: the text, the icon and buttons of the style, and the results.
#include "ui/MessageDialog.h"

#include "foundation/MessageBox.h"
#include "foundation/ResourceString.h"
#include "framework/Application.h"

MessageDialog::MessageDialog(HWND parent, const String& text, unsigned style)
    : Dialog(IDD, parent), text_(text), style_(style)
{
}

int MessageDialog::show(const char* text, unsigned style)
{
    HWND owner = Application::current().mainWindow();
    MessageDialog dialog(owner, String(text), style);
    const int result = dialog.doModal();
    if (result == -1)
        return MessageBoxA(owner, text, loadString(IDS_APPLICATION_TITLE).c_str(), style);
    return result;
}

void MessageDialog::install()
{
    setMessageBoxHandler(show);
}

int MessageDialog::iconFor(unsigned style)
{
    switch (style & 0xF0) {
    case MB_ICONHAND:
        return IDC_ICON_ERROR;
    case MB_ICONQUESTION:
        return IDC_ICON_QUESTION;
    case MB_ICONASTERISK:
        return IDC_ICON_INFORMATION;
    default:
        return IDC_ICON_WARNING;
    }
}

bool MessageDialog::onInitDialog()
{
    const bool result = Dialog::onInitDialog();
    SetDlgItemTextA(hwnd(), IDC_MESSAGE_TEXT, text_.c_str());
    placeAtParentCorner();
    ShowWindow(item(iconFor(style_)), SW_SHOW);
    if (showsYesNo(style_)) {
        ShowWindow(item(IDYES), SW_SHOW);
        ShowWindow(item(IDNO), SW_SHOW);
    } else {
        ShowWindow(item(IDOK), SW_SHOW);
        if (showsCancel(style_))
            ShowWindow(item(IDCANCEL), SW_SHOW);
    }
    return result;
}

bool MessageDialog::onCommand(int id, int code, HWND control)
{
    if ((id == IDYES || id == IDNO) && code == BN_CLICKED) {
        endDialog(id);
        return true;
    }
    return Dialog::onCommand(id, code, control);
}
