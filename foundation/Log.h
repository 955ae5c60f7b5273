// Log: the run's log (the -l option): plain text, appended, one line a step.
#pragma once

#include "foundation/String.h"

// One log for the whole process, like its message box: every layer writes to it through
// Log::write, and without an open log nothing is written. Each line begins with the local
// date and time ("2026-12-07 18:30:05 "). The file is opened for appending and shared, so
// that the uninstaller's relaunched copy, started while its parent waits, appends to the
// same file; every line is written through at once, so that a crash keeps what came before.
class Log {
public:
    // Opens path (creating it when missing). False, with the last error set, when it cannot
    // be opened for writing; the log stays closed then.
    static bool open(const char* path);
    static bool isOpen();
    static void write(const String& text);
    static void close();
};
