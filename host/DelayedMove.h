// delayedMove: moving or deleting a file now or, with MOVEFILE_DELAY_UNTIL_REBOOT, at the
// next restart, also on Windows 95.
#pragma once

#include <windows.h>

// MoveFileExA(existing, newName, flags); newName null deletes. Where the system has no
// delayed MoveFileExA (Windows 95), a delayed request is written to the "rename" section
// of wininit.ini in the Windows folder instead, with short names and "nul" for a
// deletion. Returns false with the last error set on failure.
bool delayedMove(const char* existing, const char* newName, DWORD flags);
