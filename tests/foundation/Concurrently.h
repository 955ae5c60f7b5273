// Helpers of the tests of threads, built for Windows and natively: a pause, and a piece of
// code run on a thread of its own (a foundation Thread) until joined.
#pragma once

#include "foundation/Thread.h"

#include <functional>

#ifndef _WIN32
#include <unistd.h>
#endif

inline void pauseMilliseconds(int milliseconds)
{
#ifdef _WIN32
    Sleep(static_cast<DWORD>(milliseconds));
#else
    usleep(static_cast<useconds_t>(milliseconds) * 1000);
#endif
}

// Starts body on a new thread; join() or the destructor waits for its end.
class Concurrently {
public:
    explicit Concurrently(std::function<void()> body) : body_(std::move(body))
    {
        started_ = thread_.start([](void* self) { static_cast<Concurrently*>(self)->body_(); }, this);
    }
    bool started() const { return started_; }
    void join() { thread_.join(); }

private:
    std::function<void()> body_;
    bool started_;
    Thread thread_; // last: joined before body_ goes
};
