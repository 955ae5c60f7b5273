// CopyFilesView: the progress bar's range and steps, the shown file, the messages.
#include "ui/CopyFilesView.h"

#include "foundation/MessageBox.h"

#include <commctrl.h>

void CopyFilesView::setRange(int steps)
{
    if (HWND bar = dialog_.progressBar())
        SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, steps));
}

void CopyFilesView::nextFile(const String& path)
{
    dialog_.nextFile(path);
}

void CopyFilesView::skipStep()
{
    if (HWND bar = dialog_.progressBar())
        SendMessageA(bar, PBM_DELTAPOS, 1, 0);
}

bool CopyFilesView::pollCancel()
{
    return dialog_.pollCancel();
}

void CopyFilesView::showFailure(const String& text, unsigned icon)
{
    if (icon == MB_ICONSTOP)
        dialog_.showFailure();
    messageBox(text.c_str(), icon);
}
