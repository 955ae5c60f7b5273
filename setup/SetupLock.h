// SetupLock: one install or uninstall at a time on the machine.
#pragma once

#include <windows.h>

// Two setup programs at once (two installs, or an install and an uninstall) would extract
// into the same folder, and one's leftover removal would delete the other's files. A run
// that changes anything first makes this lock: a named mutex, machine-wide ("Global\" for
// every session where the system knows that prefix). The object's existence is the lock;
// the system drops it with the process, however that ends.
class SetupLock {
public:
    SetupLock();
    ~SetupLock();
    SetupLock(const SetupLock&) = delete;
    SetupLock& operator=(const SetupLock&) = delete;

    // False when another run holds the lock (this one then holds nothing).
    bool held() const { return handle_ != nullptr; }

private:
    HANDLE handle_;
};
