// SetupLock: one install or uninstall at a time on the machine.
#pragma once

#include <windows.h>

// Two setup programs at once (two installs, or an install and an uninstall) would extract
// into the same folder, and one's leftover removal would delete the other's files. A run
// that changes anything first takes this lock: a named mutex, machine-wide ("Global\" for
// every session where the system knows that prefix), owned by the thread that made the
// lock. Ownership, not the object's existence, is the lock: a handle that some other
// process still holds (one that inherited it from a killed run, a tool that looks at
// objects) does not block, and the mutex of a run that was killed is abandoned, which the
// system hands to the next waiter.
class SetupLock {
public:
    SetupLock();
    ~SetupLock();
    SetupLock(const SetupLock&) = delete;
    SetupLock& operator=(const SetupLock&) = delete;

    // False when another run holds the lock (this one then holds nothing).
    bool held() const { return handle_ != nullptr; }
    // Held, and taken over from a run that ended without letting it go (killed, crashed).
    bool abandoned() const { return abandoned_; }

private:
    HANDLE handle_;
    bool abandoned_ = false;
};
