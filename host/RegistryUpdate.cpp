// RegistryUpdate: the shown setting and the cancel, through the view when there is one.
#include "host/RegistryUpdate.h"

#include "host/UpdateRegistryView.h"

void RegistryUpdate::show(const String& text)
{
    shown_ = text;
    if (view_)
        view_->showText(text);
}

bool RegistryUpdate::cancelled()
{
    return view_ && view_->pollCancel();
}
