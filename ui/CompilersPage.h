// CompilersPage: "Choose Compilers", the compiler families whose wrappers are installed.
#pragma once

#include "resources/resource.h"
#include "ui/WizardPage.h"

class CompilersPage : public WizardPage {
public:
    enum { IDD = IDD_COMPILERS };

    // Microsoft ticked, the other families not.
    explicit CompilersPage(HWND parent = nullptr);

    bool borland() const { return borland_; }
    bool gnu() const { return gnu_; }
    bool microsoft() const { return microsoft_; }
    bool microtec() const { return microtec_; }
    bool tasking() const { return tasking_; }

protected:
    bool doDataExchange(DataExchange& exchange) override;

private:
    bool borland_ = false;
    bool gnu_ = false;
    bool microsoft_ = true;
    bool microtec_ = false;
    bool tasking_ = false;
};
