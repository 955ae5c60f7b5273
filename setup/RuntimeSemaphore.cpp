// The C++ runtime's semaphores, made through the ANSI call that every Windows implements.
//
// The runtime's locks (the unwinder's list of frame tables, its thread-data keys) wait on a
// semaphore that it makes with CreateSemaphoreW. Windows 95/98 export that function as a stub
// that fails, which leaves such a lock without its semaphore: two threads that throw at once
// (the decoder thread ending while the reader unwinds) would then share the unwinder's lists
// unlocked. The program's import of CreateSemaphoreW is answered here instead: the linker
// takes this definition of the import's pointer, and libkernel32's is never linked.
#include <windows.h>

namespace {

HANDLE WINAPI createSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum, LPCWSTR name)
{
    // The runtime's semaphores have no name; a named one would need the wide name's
    // conversion, which nothing here asks for.
    if (name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateSemaphoreA(attributes, initial, maximum, nullptr);
}

} // namespace

#ifdef _WIN64
extern "C" decltype(&createSemaphore) createSemaphoreImport asm("__imp_CreateSemaphoreW");
#else
extern "C" decltype(&createSemaphore) createSemaphoreImport asm("__imp__CreateSemaphoreW@16");
#endif
decltype(&createSemaphore) createSemaphoreImport = createSemaphore;
