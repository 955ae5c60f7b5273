// Mutex: a lock that one thread at a time holds, and Mutex::Lock, which holds it for a scope.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

// Not recursive in use: a thread that holds the mutex does not take it again. Cannot be
// copied. Win32: a critical section (every Windows has one); elsewhere a POSIX mutex, so
// that the code built on it is also built natively and checked under ThreadSanitizer.
class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // Waits until no other thread holds the mutex, then holds it.
    void lock();
    void unlock();

    // Holds the mutex from its making to its end.
    class Lock {
    public:
        explicit Lock(Mutex& mutex) : mutex_(mutex) { mutex_.lock(); }
        ~Lock() { mutex_.unlock(); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

        Mutex& mutex() const { return mutex_; }

    private:
        Mutex& mutex_;
    };

private:
    friend class WakeUp;

#ifdef _WIN32
    CRITICAL_SECTION section_;
#else
    // Made statically: the one way of making that cannot fail.
    pthread_mutex_t mutex_ = PTHREAD_MUTEX_INITIALIZER;
#endif
};
