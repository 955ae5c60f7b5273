// DataExchange: moves values between a dialog's controls and its members, in either direction.
#pragma once

#include "foundation/String.h"

#include <windows.h>

// Passed to DialogWindow::doDataExchange. When saving, controls are read into members;
// otherwise members are shown in controls.
class DataExchange {
public:
    DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    bool saving() const { return saving_; }
    HWND dialog() const { return dialog_; }

    // An edit or static control and a String member.
    void text(int id, String& value);
    // A check box and a bool member (checked is true, anything else false).
    void check(int id, bool& value);
    // Marks a failed validation: puts the focus on control id (and selects an edit's text).
    // doDataExchange then returns false.
    void failOn(int id);

private:
    HWND dialog_;
    bool saving_;
};
