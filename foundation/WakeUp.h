// WakeUp: one thread waits, under a Mutex, until another tells it that what it waits for may
// have come; used as a condition variable with a single waiter.
#pragma once

#include "foundation/Mutex.h"

// The waiter holds the mutex, finds that what it needs is not there and calls wait() in a
// loop that checks again each time:
//     Mutex::Lock lock(mutex);
//     while (!ready)
//         wakeUp.wait(lock);
// The other thread changes the state under the same mutex and calls wake(). No wake is lost
// between the waiter's check and its wait: on POSIX the condition variable leaves the mutex
// and starts waiting in one step; on Win32 the auto-reset event stays signalled until a
// waiter takes it, so a wake given after the waiter left the mutex but before it started
// waiting ends that wait at once.
//
// One waiter at a time: wake() ends the wait of one thread (the event lets one through, as
// pthread_cond_signal does). With two waiters waiting for different things, the wake could
// reach the one whose thing has not come, and the other would sleep on. Each use has one
// thread that waits on it.
//
// wait() may also return without a wake meant for it: on Win32 when the event was set by a
// wake that found nobody waiting (the loop then checks, finds nothing, and waits again, so a
// stale wake costs one turn of the loop, never a spin); on POSIX when the system wakes it
// spuriously.
class WakeUp {
public:
    WakeUp();
    ~WakeUp();
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    // False when the system could make no event (Win32, out of resources): then wait() would
    // not wait, and a user must not rely on it.
    bool usable() const;

    // Leaves the mutex that lock holds, waits for a wake, takes the mutex again.
    void wait(Mutex::Lock& lock);
    // Ends the wait of the thread that waits, or of the next one to wait (Win32); the caller
    // holds the mutex, or changed the state under it before.
    void wake();

private:
#ifdef _WIN32
    HANDLE event_;
#else
    // Made statically: the one way of making that cannot fail.
    pthread_cond_t condition_ = PTHREAD_COND_INITIALIZER;
#endif
};
