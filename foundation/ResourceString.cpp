// loadString: LoadStringA on the program's own module.
#include "foundation/ResourceString.h"

#include "foundation/ExceptionWin.h"

#include <windows.h>

String loadString(uint32_t id)
{
    char buffer[1024];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    if (length <= 0)
        throw Win::Exception(String("LoadString failure on ") + String::valueOf(static_cast<unsigned>(id)));
    return String(buffer, length);
}
