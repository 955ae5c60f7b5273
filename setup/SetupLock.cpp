// SetupLock: the named mutex, with the session-wide name where "Global\" is refused.
#include "setup/SetupLock.h"

#include "foundation/ProductIdentity.h"

SetupLock::SetupLock()
{
    const char* const global = "Global\\" TRELLIQ_APPLICATION_TITLE;
    handle_ = CreateMutexA(nullptr, FALSE, global);
    DWORD error = GetLastError();
    // Windows 95, 98 and NT 4.0 take no '\' in an object's name; they have one session.
    // A mutex made by another user's run denies us access: that run holds the lock.
    if (!handle_ && error != ERROR_ACCESS_DENIED) {
        handle_ = CreateMutexA(nullptr, FALSE, product::applicationTitle);
        error = GetLastError();
    }
    if (handle_ && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

SetupLock::~SetupLock()
{
    if (handle_)
        CloseHandle(handle_);
}
