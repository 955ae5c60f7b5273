// UpdateRegistryView: the installed view.
#include "host/UpdateRegistryView.h"

namespace {

UpdateRegistryView* installed = nullptr;

} // namespace

UpdateRegistryView* UpdateRegistryView::current()
{
    return installed;
}

UpdateRegistryView* UpdateRegistryView::setCurrent(UpdateRegistryView* view)
{
    UpdateRegistryView* previous = installed;
    installed = view;
    return previous;
}

bool pollUpdateRegistryCancel()
{
    return installed && installed->pollCancel();
}
