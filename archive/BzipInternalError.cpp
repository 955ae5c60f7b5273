// bz_internal_error: where libbzip2, built without stdio, reports a broken consistency
// check of its own.
#include "foundation/MessageBox.h"
#include "foundation/String.h"

#include <windows.h>

// The decoder's state can no longer be trusted and no C++ exception may pass through
// libbzip2's C frames: the user is told, and the program ends with libbzip2's own exit
// code for this case.
extern "C" void bz_internal_error(int errcode)
{
    const String text = "The decompressor failed an internal check (libbzip2 error " + String::valueOf(errcode) +
                        "). Setup cannot continue.";
    messageBox(text.c_str(), MB_ICONSTOP);
    ExitProcess(3);
}
