// CoverageFilePage: validation and the file dialog.
#include "ui/CoverageFilePage.h"

#include "foundation/ResourceString.h"
#include "ui/CoverageFileDialog.h"

CoverageFilePage::CoverageFilePage(const Path& coverageFile, HWND parent)
    : WizardPage(IDD, parent), coverageFile_(coverageFile), defaultCoverageFile_(coverageFile)
{
}

bool CoverageFilePage::doDataExchange(DataExchange& exchange)
{
    exchange.text(IDC_PATH, coverageFile_);
    if (exchange.saving() && coverageFile_.isDirectory()) {
        // The system's own message box, not the program's: a plain note owned by the page.
        MessageBoxA(hwnd(), "Specify a file name rather than a directory name",
                    loadString(IDS_APPLICATION_TITLE).c_str(), MB_OK);
        exchange.failOn(IDC_PATH);
        return false;
    }
    return true;
}

bool CoverageFilePage::onCommand(int id, int code, HWND control)
{
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        browse();
        return true;
    }
    return WizardPage::onCommand(id, code, control);
}

void CoverageFilePage::browse()
{
    updateData(true);  // a directory name gets its message, and Browse still goes on
    if (coverageFile_.fileName().isEmpty())
        coverageFile_ = coverageFile_.directory() + defaultCoverageFile_.fileName();
    CoverageFileDialog dialog(coverageFile_.c_str(), hwnd());
    if (dialog.doModal() != IDOK)
        return;
    coverageFile_ = dialog.pathName();
    SetDlgItemTextA(hwnd(), IDC_PATH, coverageFile_.c_str());
}
