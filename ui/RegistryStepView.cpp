// RegistryStepView: forwards the registry steps' calls to the dialog and the cursor.
#include "ui/RegistryStepView.h"

#include "host/RegistryStep.h"
#include "ui/WaitCursor.h"

namespace {

UpdateRegistryDialog* shownDialog = nullptr;

} // namespace

RegistryStepView::RegistryStepView(UpdateRegistryDialog& dialog)
    : dialog_(dialog), previousView_(UpdateRegistryView::setCurrent(this)),
      previousHandler_(RegistryStep::setTextHandler(&showText))
{
    shownDialog = &dialog;
}

RegistryStepView::~RegistryStepView()
{
    shownDialog = nullptr;
    RegistryStep::setTextHandler(previousHandler_);
    UpdateRegistryView::setCurrent(previousView_);
}

void RegistryStepView::showText(const String& text)
{
    if (shownDialog)
        shownDialog->setText(text);
}

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
