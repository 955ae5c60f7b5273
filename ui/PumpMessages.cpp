// pumpMessages: PeekMessage, the application's pump and its idle processing.
#include "ui/PumpMessages.h"

#include "framework/Application.h"

void pumpMessages()
{
    Application& application = Application::current();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!application.pumpMessage()) {
            PostQuitMessage(0);
            break;
        }
    }
    for (long count = 0; application.onIdle(count); ++count) {
    }
}
