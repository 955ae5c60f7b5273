// CoverageFilePage: "Locate Coverage File", where coverage measurements go (TRQFILE).
#pragma once

#include "foundation/Path.h"
#include "resources/resource.h"
#include "ui/WizardPage.h"

class CoverageFilePage : public WizardPage {
public:
    enum { IDD = IDD_COVERAGE_FILE };

    // coverageFile: the file proposed at start-up; also the default whose name Browse uses.
    explicit CoverageFilePage(const Path& coverageFile, HWND parent = nullptr);

    const Path& coverageFile() const { return coverageFile_; }

protected:
    // Reading back refuses a directory name with a message, keeping the page open.
    bool doDataExchange(DataExchange& exchange) override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void browse();

    Path coverageFile_;
    Path defaultCoverageFile_;
};
