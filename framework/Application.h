// Application: the one application object, with its start-up, run, idle and message-box hooks.
#pragma once

#include "foundation/Array.h"

#include <windows.h>

// A program derives its application from this class and calls main() from WinMain. Without a
// derived object, Application::current() answers a plain default one, so that dialogs, the
// pump and the wait cursor also work in programs (such as tests) that make none.
class Application {
public:
    // Becomes the current application and routes messageBox() to doMessageBox(), with the
    // wait-cursor count at 0 (the arrow) while the box is up.
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application& current();

    // initInstance(), then run() when it succeeded, else exitInstance(). Returns the exit code.
    int main();

    virtual bool initInstance() { return true; }
    // Default: takes messages with pumpMessage() until WM_QUIT, then exitInstance().
    virtual int run();
    virtual int exitInstance() { return 0; }
    // The message-box hook every messageBox() call reaches. Default: the system's message box
    // owned by the main window, with the main window's caption as its caption.
    virtual int doMessageBox(const char* text, unsigned style);
    // Idle work after the queue is empty; count is 0, 1, 2, ... Returns whether more remains.
    virtual bool onIdle(long count);

    HWND mainWindow() const { return mainWindow_; }
    void setMainWindow(HWND window) { mainWindow_ = window; }

    // Fetches one message (waiting for it) and dispatches it, giving registered modeless
    // dialogs their keyboard handling first. Returns false for WM_QUIT, which is not
    // dispatched. Rethrows a failure that a window procedure of ours kept (WindowFailure.h).
    bool pumpMessage();

    // Modeless dialogs registered here get IsDialogMessage (Tab, Enter, Escape) in the pump.
    void addModeless(HWND dialog);
    void removeModeless(HWND dialog);
    bool preTranslateMessage(MSG& message);

    // The wait-cursor counter: +1 shows the hourglass, -1 takes one back; at 0 the arrow
    // returns. Windows of ours keep the hourglass on WM_SETCURSOR while the count is > 0,
    // except while a message box waits for the user.
    void doWaitCursor(int delta);
    int waitCursorCount() const { return waitCursorCount_; }

    // While a change of the machine runs that a log-off or restart must not cut off: windows
    // of ours answer WM_QUERYENDSESSION with FALSE (every Windows), and reason (what Windows
    // shows for the program, e.g. "Installing Trelliq") is registered for the main window
    // through ShutdownBlockReasonCreate where Windows has it (Vista and later; looked up).
    // endSessionBlock takes both back. Not nested.
    void beginSessionBlock(const char* reason);
    void endSessionBlock();
    bool sessionBlocked() const { return sessionBlocked_; }
    // The answer of a top-level window of ours to WM_QUERYENDSESSION (FALSE while blocked,
    // else TRUE) and WM_ENDSESSION (0; a session that ends while blocked sets sessionEnding).
    LRESULT onSessionMessage(UINT message, WPARAM wParam);
    // The session ended during a blocked change anyway (the user forced it): the change is
    // to stop now as a failure would, so that what it did can be taken back.
    bool sessionEnding() const { return sessionEnding_; }

private:
    struct DefaultTag {};
    // The plain application of programs that make none; constant, so that it exists before
    // any start-up code could ask for it.
    constexpr explicit Application(DefaultTag) : registered_(false) {}
    static Application fallback_;

    HWND mainWindow_ = nullptr;
    int waitCursorCount_ = 0;
    bool sessionBlocked_ = false;
    bool sessionEnding_ = false;
    HWND sessionReasonWindow_ = nullptr;
    Array<HWND> modeless_;
    bool registered_;
};
