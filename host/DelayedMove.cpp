// delayedMove: MoveFileExA with the wininit.ini fallback of Windows 95.
#include "host/DelayedMove.h"

#include "foundation/WindowsVersion.h"
#include "foundation/String.h"

namespace {

// A count from a call that fills a 256-byte buffer: 0 is the call's failure; a count
// that does not fit is a name too long.
bool fits(DWORD count)
{
    if (count >= 256)
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return count != 0 && count < 256;
}

// The short form of path's full path.
bool shortFullPath(const char* path, String& result)
{
    char full[256];
    if (!fits(GetFullPathNameA(path, sizeof full, full, nullptr)))
        return false;
    char shortPath[256];
    if (!fits(GetShortPathNameA(full, shortPath, sizeof shortPath)))
        return false;
    result = shortPath;
    return true;
}

} // namespace

bool delayedMove(const char* existing, const char* newName, DWORD flags)
{
    if (MoveFileExA(existing, newName, flags))
        return true;
    if (isWindowsNT() || !(flags & MOVEFILE_DELAY_UNTIL_REBOOT))
        return false;
    char windows[256];
    if (!fits(GetWindowsDirectoryA(windows, sizeof windows)))
        return false;
    String shortExisting;
    String shortNew("nul");
    if (!shortFullPath(existing, shortExisting) || (newName && !shortFullPath(newName, shortNew)))
        return false;
    const String file = String(windows) + "\\wininit.ini";
    return WritePrivateProfileStringA("rename", shortNew.c_str(), shortExisting.c_str(), file.c_str());
}
