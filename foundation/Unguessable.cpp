// unguessable: RtlGenRandom where the system has it, else what Windows 95 offers, mixed.
#include "foundation/Unguessable.h"

#include "foundation/SystemLibrary.h"

#include <windows.h>

// The stack guard's start-up calls this before the guard is set: no guard of its own.
__attribute__((no_stack_protector)) unsigned long long unguessable()
{
    unsigned long long value = 0;
    typedef BOOLEAN(WINAPI * RandomFunction)(PVOID, ULONG);
    const auto random =
        reinterpret_cast<RandomFunction>(reinterpret_cast<void*>(systemFunction("advapi32.dll", "SystemFunction036")));
    if (random && random(&value, sizeof value))
        return value;
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    value = static_cast<unsigned long long>(counter.QuadPart) ^ (static_cast<unsigned long long>(GetTickCount()) << 32)
            ^ (static_cast<unsigned long long>(now.dwHighDateTime) << 32) ^ now.dwLowDateTime
            ^ (static_cast<unsigned long long>(GetCurrentThreadId()) << 16) ^ GetCurrentProcessId()
            ^ reinterpret_cast<UINT_PTR>(&value);
    // splitmix64's finaliser, so that every input bit moves every output bit.
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}
