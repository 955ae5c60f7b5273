// FindHandle: the owner of one FindFirstFileA search.
#pragma once

#include <windows.h>

// Starts the search when made and closes it when destroyed; cannot be copied.
class FindHandle {
public:
    // Searches for pattern (a path whose last component may hold '*' and '?'). When nothing
    // matches or the search fails, found() is false and the last error is the search's.
    explicit FindHandle(const char* pattern);
    ~FindHandle() { close(); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    // Whether the search is open and entry() holds a match.
    bool found() const { return handle_ != INVALID_HANDLE_VALUE; }
    // The match found last.
    const WIN32_FIND_DATAA& entry() const { return entry_; }
    // The next match; false at the end of the search or on a failure, which close it.
    bool next();
    void close();

private:
    HANDLE handle_;
    WIN32_FIND_DATAA entry_;
};
