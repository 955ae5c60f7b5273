// CoverageFileDialog: the open-file dialog for the coverage file, titled "Browse".
#pragma once

#include "framework/FileDialog.h"

class CoverageFileDialog : public FileDialog {
public:
    // fileName: the initial file; owner: the page.
    CoverageFileDialog(const char* fileName, HWND owner);

protected:
    // The system dialog's Open button reads "OK".
    void onInitDone(HWND dialog) override;
};
