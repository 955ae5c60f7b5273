// Application: hooks, the pump with modeless keyboard handling, and the wait cursor.
#include "framework/Application.h"

#include "foundation/LastErrorKept.h"
#include "foundation/MessageBox.h"
#include "foundation/SystemLibrary.h"
#include "foundation/WideText.h"
#include "framework/WindowFailure.h"

#include <algorithm>

namespace {

Application* registered = nullptr;

// The arrow while a message box waits for the user, whatever the wait-cursor count; the
// count comes back when the box goes, also when a failure unwinds past it.
class ArrowWhileAsking {
public:
    explicit ArrowWhileAsking(Application& application)
        : application_(application), count_(application.waitCursorCount())
    {
        LastErrorKept kept;
        if (count_ > 0)
            application_.doWaitCursor(-count_);
    }
    ~ArrowWhileAsking()
    {
        LastErrorKept kept;
        if (count_ > 0)
            application_.doWaitCursor(count_);
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    Application& application_;
    int count_;
};

int routeMessageBox(const char* text, unsigned style)
{
    Application& application = Application::current();
    ArrowWhileAsking arrow(application);
    return application.doMessageBox(text, style);
}

} // namespace

Application::Application() : registered_(true)
{
    registered = this;
    setMessageBoxHandler(routeMessageBox);
}

Application::~Application()
{
    if (registered_ && registered == this) {
        registered = nullptr;
        setMessageBoxHandler(nullptr);
    }
}

Application Application::fallback_{DefaultTag{}};

Application& Application::current()
{
    return registered ? *registered : fallback_;
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
    for (int i = modeless_.size() - 1; i >= 0; --i) {
        HWND dialog = modeless_[i];
        if ((message.hwnd == dialog || IsChild(dialog, message.hwnd)) && IsDialogMessageA(dialog, &message))
            return true;
    }
    return false;
}

void Application::addModeless(HWND dialog)
{
    if (modeless_.indexOf(dialog) < 0)
        modeless_.add(dialog);
}

void Application::removeModeless(HWND dialog)
{
    for (int at; (at = modeless_.indexOf(dialog)) >= 0;)
        modeless_.removeAt(at);
}

void Application::doWaitCursor(int delta)
{
    waitCursorCount_ = std::max(0, waitCursorCount_ + delta);
    SetCursor(LoadCursorA(nullptr, waitCursorCount_ > 0 ? IDC_WAIT : IDC_ARROW));
}

void Application::beginSessionBlock(const char* reason)
{
    sessionBlocked_ = true;
    typedef BOOL(WINAPI * CreateFunction)(HWND, LPCWSTR);
    const auto create = reinterpret_cast<CreateFunction>(
        reinterpret_cast<void*>(systemFunction("user32.dll", "ShutdownBlockReasonCreate")));
    if (create && mainWindow_ && create(mainWindow_, WideText::fromAnsi(reason).c_str()))
        sessionReasonWindow_ = mainWindow_;
}

void Application::endSessionBlock()
{
    LastErrorKept kept;
    sessionBlocked_ = false;
    if (!sessionReasonWindow_)
        return;
    typedef BOOL(WINAPI * DestroyFunction)(HWND);
    const auto destroy = reinterpret_cast<DestroyFunction>(
        reinterpret_cast<void*>(systemFunction("user32.dll", "ShutdownBlockReasonDestroy")));
    if (destroy && IsWindow(sessionReasonWindow_))
        destroy(sessionReasonWindow_);
    sessionReasonWindow_ = nullptr;
}

LRESULT Application::onSessionMessage(UINT message, WPARAM wParam)
{
    if (message == WM_QUERYENDSESSION)
        return sessionBlocked_ ? FALSE : TRUE;
    if (message == WM_ENDSESSION && wParam && sessionBlocked_)
        sessionEnding_ = true;
    return 0;
}
