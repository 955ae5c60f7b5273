// CopyFilesView: the "Copy Files" dialog as the extraction reaches it.
#pragma once

#include "archive/ExtractionView.h"
#include "ui/CopyFilesDialog.h"

// Steps and texts go to the dialog, which it does not own; failures go to the program's
// message box. A window that is gone (closed by the user) takes nothing.
class CopyFilesView : public ExtractionView {
public:
    explicit CopyFilesView(CopyFilesDialog& dialog) : dialog_(dialog) {}
    CopyFilesView(const CopyFilesView&) = delete;
    CopyFilesView& operator=(const CopyFilesView&) = delete;

    void setRange(int steps) override;
    void nextFile(const String& path) override;
    void skipStep() override;
    bool pollCancel() override;
    void showFailure(const String& text, unsigned icon) override;

private:
    CopyFilesDialog& dialog_;
};
