// WakeUp: an auto-reset event on Windows (every Windows has one), a POSIX condition variable
// elsewhere.
#include "foundation/WakeUp.h"

#ifdef _WIN32

WakeUp::WakeUp() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

WakeUp::~WakeUp()
{
    if (event_)
        CloseHandle(event_);
}

bool WakeUp::usable() const
{
    return event_ != nullptr;
}

void WakeUp::wait(Mutex::Lock& lock)
{
    lock.mutex().unlock();
    WaitForSingleObject(event_, INFINITE);
    lock.mutex().lock();
}

void WakeUp::wake()
{
    SetEvent(event_);
}

#else

WakeUp::WakeUp() = default;

WakeUp::~WakeUp()
{
    pthread_cond_destroy(&condition_);
}

bool WakeUp::usable() const
{
    return true;
}

void WakeUp::wait(Mutex::Lock& lock)
{
    pthread_cond_wait(&condition_, &lock.mutex().mutex_);
}

void WakeUp::wake()
{
    pthread_cond_signal(&condition_);
}

#endif
