// Application: hooks, the pump with modeless keyboard handling, and the wait cursor.
#include "framework/Application.h"

#include "foundation/MessageBox.h"
#include "framework/WindowFailure.h"

#include <algorithm>

namespace {

Application* registered = nullptr;

int routeMessageBox(const char* text, unsigned style)
{
    return Application::current().doMessageBox(text, style);
}

} // namespace

Application::Application() : registered_(true)
{
    registered = this;
    setMessageBoxHandler(routeMessageBox);
}

Application::Application(DefaultTag) : registered_(false) {}

Application::~Application()
{
    if (registered_ && registered == this) {
        registered = nullptr;
        setMessageBoxHandler(nullptr);
    }
}

Application& Application::current()
{
    if (registered)
        return *registered;
    static Application fallback{DefaultTag{}};
    return fallback;
}

int Application::main()
{
    if (!initInstance())
        return exitInstance();
    return run();
}

int Application::run()
{
    while (pumpMessage()) {
        MSG message;
        for (long count = 0; !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && onIdle(count); ++count) {
        }
    }
    return exitInstance();
}

int Application::doMessageBox(const char* text, unsigned style)
{
    char caption[256] = "";
    if (mainWindow_)
        GetWindowTextA(mainWindow_, caption, sizeof caption);
    return MessageBoxA(mainWindow_, text, caption, style);
}

bool Application::onIdle(long)
{
    return false;
}

bool Application::pumpMessage()
{
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) <= 0)
        return false;
    if (!preTranslateMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    rethrowWindowFailure();
    return true;
}

bool Application::preTranslateMessage(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    // Newest first, so that a dialog opened over another gets its keys.
    for (auto it = modeless_.rbegin(); it != modeless_.rend(); ++it) {
        HWND dialog = *it;
        if ((message.hwnd == dialog || IsChild(dialog, message.hwnd)) && IsDialogMessageA(dialog, &message))
            return true;
    }
    return false;
}

void Application::addModeless(HWND dialog)
{
    if (std::find(modeless_.begin(), modeless_.end(), dialog) == modeless_.end())
        modeless_.push_back(dialog);
}

void Application::removeModeless(HWND dialog)
{
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

void Application::doWaitCursor(int delta)
{
    waitCursorCount_ = std::max(0, waitCursorCount_ + delta);
    SetCursor(LoadCursorA(nullptr, waitCursorCount_ > 0 ? IDC_WAIT : IDC_ARROW));
}
