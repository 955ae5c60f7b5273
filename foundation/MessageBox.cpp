// messageBox: the replaceable handler behind every message box.
#include "foundation/MessageBox.h"

#include "foundation/ProductIdentity.h"

#include <windows.h>

namespace {

int systemMessageBox(const char* text, unsigned style)
{
    return MessageBoxA(GetActiveWindow(), text, product::applicationTitle, style | MB_TASKMODAL);
}

MessageBoxHandler currentHandler = systemMessageBox;

} // namespace

int messageBox(const char* text, unsigned style)
{
    return currentHandler(text, style);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = currentHandler;
    currentHandler = handler ? handler : systemMessageBox;
    return previous;
}
