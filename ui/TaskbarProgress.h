// TaskbarProgress: the progress shown in a window's taskbar button (Windows 7 and later).
#pragma once

#include <windows.h>

struct ITaskbarList3;

// Through the shell's ITaskbarList3, made with CoCreateInstance: on Windows before 7 there is
// no such object and every operation does nothing. Cleared when it goes.
class TaskbarProgress {
public:
    // window: the top-level window whose button shows the progress (null: none).
    explicit TaskbarProgress(HWND window);
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // done of total steps, in the normal (green) state.
    void show(int done, int total);
    // The error (red) state, at the last value shown.
    void showError();
    // No progress in the button.
    void clear();

    bool available() const { return taskbar_ != nullptr; }

private:
    HWND window_;
    ITaskbarList3* taskbar_ = nullptr;
    bool failed_ = false;
};
