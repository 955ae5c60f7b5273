// RichEditNoticePage: "Install riched20.dll", shown when the browser's rich-edit library is
// missing, with a link to where it can be had.
#pragma once

#include "resources/resource.h"
#include "ui/HyperlinkStatic.h"
#include "ui/WizardPage.h"

class RichEditNoticePage : public WizardPage {
public:
    enum { IDD = IDD_RICHEDIT_NOTICE };

    // parent null: owned by the main window.
    explicit RichEditNoticePage(HWND parent = nullptr);

protected:
    // The common start-up, then control 1021 becomes the link.
    bool onInitDialog() override;
    // The link; a test may put a link of its own here before the page runs.
    virtual HyperlinkStatic& link() { return link_; }

private:
    HyperlinkStatic link_;
};
