// SetupLock: one run at a time; a killed run's lock does not block the next.
#include "setup/SetupLock.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// What another run does with the lock's mutex, on a thread of its own.
enum class Other { nothing, holds, ended, opened };

struct OtherRun {
    Other what;
    HANDLE mutex = nullptr;
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;

    explicit OtherRun(Other what) : what(what)
    {
        if (what != Other::nothing) {
            thread = CreateThread(nullptr, 0, &OtherRun::main, this, 0, nullptr);
            WaitForSingleObject(taken, 5000);
            // An ended owner leaves the mutex abandoned once its thread is gone.
            if (what == Other::ended)
                WaitForSingleObject(thread, 5000);
        }
    }
    ~OtherRun()
    {
        SetEvent(finish);
        if (thread) {
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
        }
        if (mutex)
            CloseHandle(mutex);
        CloseHandle(taken);
        CloseHandle(finish);
    }

    static DWORD WINAPI main(void* parameter)
    {
        auto* run = static_cast<OtherRun*>(parameter);
        run->mutex = CreateMutexA(nullptr, FALSE, "Global\\Trelliq Setup");
        if (run->what == Other::holds || run->what == Other::ended)
            WaitForSingleObject(run->mutex, 0);
        SetEvent(run->taken);
        if (run->what != Other::ended)
            WaitForSingleObject(run->finish, 5000);
        // An ended run lets go of nothing: the system abandons what its thread owned.
        return 0;
    }
};

} // namespace

TEST(SetupLock, OnlyARunThatHoldsTheLockBlocks)
{
    const struct {
        Other other;
        bool held;
        bool abandoned;
        const char* what;
    } cases[] = {
        {Other::nothing, true, false, "no other run"},
        {Other::holds, false, false, "another run holds the lock"},
        {Other::ended, true, true, "the run that held it was killed"},
        {Other::opened, true, false, "a handle kept by a process that holds no lock"},
    };
    for (const auto& c : cases) {
        OtherRun other(c.other);
        {
            const SetupLock lock;
            EXPECT_EQ(lock.held(), c.held) << c.what;
            EXPECT_EQ(lock.abandoned(), c.abandoned) << c.what;
        }
        // Once a lock that was held goes, the next run takes it freely.
        if (c.held) {
            const SetupLock next;
            EXPECT_TRUE(next.held()) << c.what;
            EXPECT_FALSE(next.abandoned()) << c.what;
        }
    }
}
