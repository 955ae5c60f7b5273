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

// The whole of file, empty when it is missing; false when it exists but cannot be read.
bool readWhole(const String& file, String& text)
{
    const HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    char buffer[4096];
    DWORD count = 0;
    bool ok;
    while ((ok = ReadFile(handle, buffer, sizeof buffer, &count, nullptr) != FALSE) && count > 0)
        text.append(String(buffer, static_cast<int>(count)));
    CloseHandle(handle);
    return ok;
}

// Adds line as the last line of wininit.ini's [rename] section, made when missing; every
// other line stays as it was. WritePrivateProfileStringA cannot do it: it replaces the
// section's earlier line of the same name, and every deletion is named "nul".
bool addRenameLine(const String& file, const String& line)
{
    String text;
    if (!readWhole(file, text))
        return false;
    const String lower = text.toLowerCase();
    int section = -1;
    for (int at = 0; at < lower.length() && section < 0;) {
        int end = lower.indexOf('\n', at);
        end = end < 0 ? lower.length() : end + 1;
        if (lower.substring(at, end).trim().compareTo("[rename]") == 0)
            section = end;
        at = end;
    }
    int insert = text.length();
    for (int at = section; section >= 0 && at < lower.length();) {
        int end = lower.indexOf('\n', at);
        end = end < 0 ? lower.length() : end + 1;
        if (lower.substring(at, end).trim().indexOf('[') == 0) {
            insert = at;
            break;
        }
        at = end;
    }
    String added;
    if (insert > 0 && text.charAt(insert - 1) != '\n')
        added += "\r\n";
    if (section < 0)
        added += "[rename]\r\n";
    added += line + "\r\n";
    text = text.substring(0, insert) + added + text.substring(insert);
    const HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(handle, text.c_str(), static_cast<DWORD>(text.length()), &written, nullptr)
                    && written == static_cast<DWORD>(text.length());
    CloseHandle(handle);
    return ok;
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
    return addRenameLine(file, shortNew + "=" + shortExisting);
}
