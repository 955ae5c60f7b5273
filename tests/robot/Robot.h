// Robot: drives this process's windows from a second thread, as a user would: it finds a
// window by caption and window class, reads its controls and clicks them by id.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace robot {

struct Search {
    const char* caption;
    const char* windowClass;
    HWND found;
};

inline BOOL CALLBACK matchWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char text[256] = "";
    char windowClass[64] = "";
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (std::strcmp(text, search->caption) == 0 && std::strcmp(windowClass, search->windowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window of this process with caption and class, waiting up to
// timeout milliseconds for it to appear; null when it does not.
inline HWND waitForWindow(const char* caption, const char* windowClass = "#32770", DWORD timeout = 10000)
{
    for (DWORD waited = 0; waited <= timeout; waited += 20) {
        Search search = {caption, windowClass, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    }
    return nullptr;
}

// Waits for the window on a thread of its own and runs action(window) there; the test's
// thread meanwhile runs the dialog. found() tells whether the window appeared.
class Robot {
public:
    Robot(const char* caption, std::function<void(HWND)> action, const char* windowClass = "#32770")
        : thread_([this, caption, action, windowClass] {
              HWND window = waitForWindow(caption, windowClass);
              found_ = window != nullptr;
              if (window)
                  action(window);
          })
    {
    }
    ~Robot() { join(); }
    void join()
    {
        if (thread_.joinable())
            thread_.join();
    }
    bool found()
    {
        join();
        return found_;
    }

private:
    bool found_ = false;
    std::thread thread_;
};

// A click on button id, as the mouse would give it.
inline void click(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A key pressed in the dialog, seen by the dialog's keyboard handling.
inline void press(HWND dialog, UINT key)
{
    PostMessageA(dialog, WM_KEYDOWN, key, 1);
    PostMessageA(dialog, WM_KEYUP, key, 0xC0000001);
}

inline bool visible(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

inline std::string text(HWND window)
{
    char buffer[1024] = "";
    SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

inline std::string text(HWND dialog, int id)
{
    return text(GetDlgItem(dialog, id));
}

inline void setText(HWND dialog, int id, const char* value)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
}

// Waits until window is gone (up to timeout ms); true when it went.
inline bool waitGone(HWND window, DWORD timeout = 5000)
{
    for (DWORD waited = 0; waited <= timeout; waited += 20) {
        if (!IsWindow(window))
            return true;
        Sleep(20);
    }
    return false;
}

} // namespace robot
