// RegistryStepView: forwards the registry steps' calls to the dialog and the cursor.
#include "ui/RegistryStepView.h"

void RegistryStepView::show()
{
    dialog_.create();
}

void RegistryStepView::hide()
{
    // Destroying the window must not replace the error the step is about to report.
    const DWORD error = GetLastError();
    if (dialog_.hwnd() && IsWindow(dialog_.hwnd()))
        DestroyWindow(dialog_.hwnd());
    SetLastError(error);
}

void RegistryStepView::showText(const String& text)
{
    dialog_.setText(text);
}

bool RegistryStepView::pollCancel()
{
    return dialog_.pollCancel();
}

void RegistryStepView::beginWaitCursor()
{
    waiting_.emplace();
}

void RegistryStepView::endWaitCursor()
{
    waiting_.reset();
}
