// Stopwatch: QueryPerformanceCounter or GetTickCount on Windows, clock_gettime elsewhere.
#include "foundation/Stopwatch.h"

#ifdef _WIN32

Stopwatch::Stopwatch()
{
    LARGE_INTEGER value;
    // Machines without a high-resolution counter (some that Windows 95 runs on) report none.
    frequency_ = QueryPerformanceFrequency(&value) && value.QuadPart > 0 ? value.QuadPart : 0;
    if (frequency_ && QueryPerformanceCounter(&value))
        start_ = value.QuadPart;
    else {
        frequency_ = 0;
        start_ = GetTickCount();
    }
}

double Stopwatch::seconds() const
{
    if (!frequency_) {
        // Unsigned 32-bit arithmetic: right across the tick count's wrap.
        const DWORD ticks = GetTickCount() - static_cast<DWORD>(start_);
        return ticks / 1000.0;
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const LONGLONG counts = now.QuadPart - start_;
    // Some multiprocessor machines of the Windows XP years read a counter per processor, and
    // the counters disagree a little: a reading on another processor can come out earlier.
    return counts > 0 ? static_cast<double>(counts) / static_cast<double>(frequency_) : 0;
}

#else

Stopwatch::Stopwatch()
{
    clock_gettime(CLOCK_MONOTONIC, &start_);
}

double Stopwatch::seconds() const
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start_.tv_sec) + (now.tv_nsec - start_.tv_nsec) / 1e9;
}

#endif
