// WaitCursor: the hourglass while it lives, leaving the thread's last error as it was.
#pragma once

// Puts the application's wait cursor up one level when made and takes that level back when
// destroyed (also when a failure unwinds past it); the arrow returns at level 0. Neither
// changes the last error, so that a caller can still report the error of the step before.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
