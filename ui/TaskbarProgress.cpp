// TaskbarProgress: ITaskbarList3's progress state and value for one window.
#include "ui/TaskbarProgress.h"

#include "host/Shell.h"

#include <shobjidl.h>

TaskbarProgress::TaskbarProgress(HWND window) : window_(window)
{
    if (!window_ || FAILED(initializeOle()))
        return;
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar))))
        return;
    if (FAILED(taskbar->HrInit())) {
        taskbar->Release();
        return;
    }
    taskbar_ = taskbar;
}

TaskbarProgress::~TaskbarProgress()
{
    clear();
    if (taskbar_)
        taskbar_->Release();
}

void TaskbarProgress::show(int done, int total)
{
    // After a failure the button stays red until cleared.
    if (!taskbar_ || failed_ || total <= 0 || !IsWindow(window_))
        return;
    taskbar_->SetProgressState(window_, TBPF_NORMAL);
    taskbar_->SetProgressValue(window_, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(total));
}

void TaskbarProgress::showError()
{
    failed_ = true;
    if (taskbar_ && IsWindow(window_))
        taskbar_->SetProgressState(window_, TBPF_ERROR);
}

void TaskbarProgress::clear()
{
    failed_ = false;
    if (taskbar_ && IsWindow(window_))
        taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
}
