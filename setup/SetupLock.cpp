// SetupLock: the named mutex, with the session-wide name where "Global\" is refused.
#include "setup/SetupLock.h"

#include "foundation/ProductIdentity.h"

SetupLock::SetupLock()
{
    const char* const global = "Global\\" TRELLIQ_APPLICATION_TITLE;
    handle_ = CreateMutexA(nullptr, FALSE, global);
    // Windows 95, 98 and NT 4.0 take no '\' in an object's name; they have one session.
    // A mutex made by another user's run denies us access: that run holds the lock.
    if (!handle_ && GetLastError() != ERROR_ACCESS_DENIED)
        handle_ = CreateMutexA(nullptr, FALSE, product::applicationTitle);
    if (!handle_)
        return;
    // No waiting: a run that holds it answers at once with a timeout.
    const DWORD taken = WaitForSingleObject(handle_, 0);
    abandoned_ = taken == WAIT_ABANDONED;
    if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

SetupLock::~SetupLock()
{
    if (handle_) {
        ReleaseMutex(handle_);
        CloseHandle(handle_);
    }
}
