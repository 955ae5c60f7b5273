// LastErrorKept: keeps the thread's last error across a stretch whose failures nobody
// reports, so that a later report names the failure that counted.
#pragma once

#include <windows.h>

class LastErrorKept {
public:
    LastErrorKept() : error_(GetLastError()) {}
    ~LastErrorKept() { SetLastError(error_); }
    LastErrorKept(const LastErrorKept&) = delete;
    LastErrorKept& operator=(const LastErrorKept&) = delete;

private:
    DWORD error_;
};
