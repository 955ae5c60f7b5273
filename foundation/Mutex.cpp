// Mutex: a critical section on Windows, a POSIX mutex elsewhere.
#include "foundation/Mutex.h"

#ifdef _WIN32

// InitializeCriticalSection, not ...AndSpinCount or TryEnterCriticalSection: Windows 95 has
// only these four.
Mutex::Mutex()
{
    InitializeCriticalSection(&section_);
}

Mutex::~Mutex()
{
    DeleteCriticalSection(&section_);
}

void Mutex::lock()
{
    EnterCriticalSection(&section_);
}

void Mutex::unlock()
{
    LeaveCriticalSection(&section_);
}

#else

Mutex::Mutex() = default;

Mutex::~Mutex()
{
    pthread_mutex_destroy(&mutex_);
}

void Mutex::lock()
{
    pthread_mutex_lock(&mutex_);
}

void Mutex::unlock()
{
    pthread_mutex_unlock(&mutex_);
}

#endif
