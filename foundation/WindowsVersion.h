// isWindowsNT, fileVersion: which Windows runs, and the versions of files.
#pragma once

#include "foundation/String.h"

// True on the Windows NT family (GetVersionExA's platform id VER_PLATFORM_WIN32_NT).
bool isWindowsNT();

// True on Windows 2000 and later (Windows NT 5.0 and up); false on 95, 98, Me and NT 4.0.
bool isWindows2000OrLater();

// The file version from fileName's version resource as four decimal numbers joined by
// "." (e.g. "4.71.2900.0"); empty when the file or its version resource is missing.
String fileVersion(const char* fileName);
