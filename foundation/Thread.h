// Thread: the owner of one thread of the process, started with a function and joined.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

// Runs function(argument) on a thread of its own; join() or the destructor waits for its
// end, so no thread outlives its Thread. Cannot be copied. Win32: CreateThread and the
// thread's handle (every Windows has them); elsewhere POSIX threads, so that the code built
// on it is also built natively and checked under ThreadSanitizer.
class Thread {
public:
    // Must not throw: nothing on the thread would catch it.
    typedef void (*Function)(void* argument);

    Thread() = default;
    // Joins the thread if it runs. Never throws.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts function(argument) on a new thread, when none has started or the last has been
    // joined. False when the system gives no thread (out of memory or of threads): then
    // nothing runs, and on Win32 the last error says why.
    bool start(Function function, void* argument);
    // Whether a thread has started and not been joined yet.
    bool started() const;
    // Waits until the thread has ended and lets go of it; nothing when none has started.
    // Never throws, and asks the system nothing that an older Windows lacks.
    void join();

private:
    Function function_ = nullptr;
    void* argument_ = nullptr;
#ifdef _WIN32
    static DWORD WINAPI run(LPVOID thread);
    HANDLE handle_ = nullptr;
#else
    static void* run(void* thread);
    pthread_t thread_;
    bool started_ = false;
#endif
};
