// The stack protector's guard value and its failure, and the failure of _FORTIFY_SOURCE's
// checked copies, ours instead of libssp's: libssp sets the guard through CryptoAPI
// (advapi32's CryptAcquireContextA, CryptGenRandom) and reports a smashed stack or an
// overflowing copy on a console a GUI program does not have (open, write), before it exits.
#include "foundation/Unguessable.h"

#include <windows.h>

extern "C" {

// The value every protected function keeps below its return address and compares on the
// way out. A fixed start value until the program's first constructor replaces it.
UINT_PTR __stack_chk_guard = static_cast<UINT_PTR>(0x2B992DDFA232ULL);

// A protected function found its guard overwritten: the stack no longer holds what the
// program put there, so nothing more of the program may run (no destructors, no DLL
// notifications, no message box): the process ends at once with the status Windows itself
// uses for a stack buffer overrun.
[[noreturn]] __attribute__((no_stack_protector)) void __stack_chk_fail()
{
    TerminateProcess(GetCurrentProcess(), 0xC0000409 /* STATUS_STACK_BUFFER_OVERRUN */);
    // TerminateProcess does not return for the current process; should it, no return
    // into the smashed frame either.
    for (;;)
        Sleep(INFINITE);
}

// A checked copy (__memcpy_chk, __strcpy_chk...) was asked to write past its destination.
[[noreturn]] __attribute__((no_stack_protector)) void __chk_fail()
{
    __stack_chk_fail();
}

} // extern "C"

namespace {

// Before any other constructor of the program: only start-up code of the C library, which
// is not protected, is on the stack now, so no frame compares against the old value later.
__attribute__((constructor(101), no_stack_protector)) void setStackGuard()
{
    UINT_PTR guard = static_cast<UINT_PTR>(unguessable());
    // A zero byte first stops a string copy that runs over the guard from writing it back.
    guard &= ~static_cast<UINT_PTR>(0xFF);
    __stack_chk_guard = guard;
}

} // namespace
