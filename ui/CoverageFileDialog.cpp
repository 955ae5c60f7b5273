// CoverageFileDialog: filter, default extension, title and the renamed button.
#include "ui/CoverageFileDialog.h"

// The default extension is given without "*." : the system appends its first three
// characters to a name typed without extension, so "*.trq" would make "name.*.t".
CoverageFileDialog::CoverageFileDialog(const char* fileName, HWND owner)
    : FileDialog(true, "trq", fileName, OFN_HIDEREADONLY, "Coverage Files (*.trq)|*.trq|All Files (*.*)|*.*||", owner)
{
    setTitle("Browse");
}

void CoverageFileDialog::onInitDone(HWND dialog)
{
    SetDlgItemTextA(dialog, IDOK, "OK");
}
