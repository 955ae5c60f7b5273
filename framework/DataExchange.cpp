// DataExchange: text and check-box transfers.
#include "framework/DataExchange.h"

void DataExchange::text(int id, String& value)
{
    HWND control = GetDlgItem(dialog_, id);
    if (!saving_) {
        SetWindowTextA(control, value.c_str());
        return;
    }
    const int length = GetWindowTextLengthA(control);
    char* buffer = new char[length + 1];
    const int read = GetWindowTextA(control, buffer, length + 1);
    value = String(buffer, read);
    delete[] buffer;
}

void DataExchange::check(int id, bool& value)
{
    if (saving_)
        value = IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
    else
        CheckDlgButton(dialog_, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void DataExchange::failOn(int id)
{
    HWND control = GetDlgItem(dialog_, id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}
