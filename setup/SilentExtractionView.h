// SilentExtractionView: the extraction of a silent run, which shows nothing.
#pragma once

#include "archive/ExtractionView.h"
#include "foundation/MessageBox.h"

// Steps and files go nowhere (the log has them); a failure goes to the program's message
// box, which under -s writes it to the log; nothing can cancel.
class SilentExtractionView : public ExtractionView {
public:
    void setRange(int) override {}
    void nextFile(const String&) override {}
    void skipStep() override {}
    bool pollCancel() override { return false; }
    void showFailure(const String& text, unsigned icon) override { messageBox(text.c_str(), icon); }
};
