// Thread: CreateThread and WaitForSingleObject on Windows, pthread_create and pthread_join
// elsewhere.
#include "foundation/Thread.h"

Thread::~Thread()
{
    join();
}

#ifdef _WIN32

// The thread's handle is its only record: join waits for it and closes it, and nothing asks
// whether it is still valid (GetHandleInformation is missing on Windows 95, 98 and Me).
// CreateThread rather than msvcrt's _beginthreadex: msvcrt.dll frees its data of a thread
// (errno and the like) itself when the thread ends.
bool Thread::start(Function function, void* argument)
{
    if (started())
        return false;
    function_ = function;
    argument_ = argument;
    // Windows 95, 98 and Me fail CreateThread without a place for the thread's id.
    DWORD id;
    handle_ = CreateThread(nullptr, 0, run, this, 0, &id);
    return handle_ != nullptr;
}

bool Thread::started() const
{
    return handle_ != nullptr;
}

void Thread::join()
{
    if (!handle_)
        return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
}

DWORD WINAPI Thread::run(LPVOID thread)
{
    const Thread* self = static_cast<const Thread*>(thread);
    self->function_(self->argument_);
    return 0;
}

#else

bool Thread::start(Function function, void* argument)
{
    if (started())
        return false;
    function_ = function;
    argument_ = argument;
    started_ = pthread_create(&thread_, nullptr, run, this) == 0;
    return started_;
}

bool Thread::started() const
{
    return started_;
}

void Thread::join()
{
    if (!started_)
        return;
    pthread_join(thread_, nullptr);
    started_ = false;
}

void* Thread::run(void* thread)
{
    const Thread* self = static_cast<const Thread*>(thread);
    self->function_(self->argument_);
    return nullptr;
}

#endif
