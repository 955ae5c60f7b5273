// FindHandle: FindFirstFileA, FindNextFileA and FindClose.
#include "foundation/FindHandle.h"

FindHandle::FindHandle(const char* pattern) : handle_(FindFirstFileA(pattern, &entry_)) {}

bool FindHandle::next()
{
    if (!found())
        return false;
    if (FindNextFileA(handle_, &entry_))
        return true;
    // Closing must not replace the reason the search ended.
    const DWORD error = GetLastError();
    close();
    SetLastError(error);
    return false;
}

void FindHandle::close()
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}
