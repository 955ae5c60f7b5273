// modulePath: GetModuleFileNameA, read once.
#include "foundation/ModulePath.h"

#include <windows.h>

namespace {

// The program's path once read (constant-initialized: no start-up code, no guard).
String path;

} // namespace

String modulePath()
{
    if (path.isEmpty()) {
        char buffer[256];
        const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
        path = String(buffer, length < sizeof buffer ? static_cast<int>(length) : 0);
    }
    return path;
}
