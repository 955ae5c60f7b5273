// Stopwatch: the seconds since a moment, on a clock that never goes back.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

// Started when made. Win32: the performance counter, or where the system has none, the
// millisecond tick count (an interval up to 49 days comes out right across its wrap);
// elsewhere CLOCK_MONOTONIC. Neither follows changes of the date and time.
class Stopwatch {
public:
    Stopwatch();

    // The seconds since the stopwatch was made, never less than 0.
    double seconds() const;

private:
#ifdef _WIN32
    LONGLONG frequency_; // counts per second of the performance counter, 0 without one
    LONGLONG start_;     // its count, or the tick count, when started
#else
    timespec start_;
#endif
};
