// codePagePath, tempFolderPath: the round trip through the code page, then the 8.3 form.
#include "foundation/CodePagePath.h"

#include "foundation/SystemLibrary.h"
#include "foundation/WindowsVersion.h"

namespace {

// kernel32's wide call name, or null where the system lacks it: looked up at run time, since
// Windows 95 does not start a program that imports a call it lacks. Windows 95, 98 and Me
// export such calls as stubs: there the platform decides, not whatever error a stub leaves.
template <typename Function>
Function wideCall(const char* name)
{
    return isWindowsNT() ? reinterpret_cast<Function>(reinterpret_cast<void*>(systemFunction("kernel32.dll", name)))
                         : nullptr;
}

bool sameText(const wchar_t* a, const wchar_t* b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

// text when path converts to the code page and back to exactly itself; false otherwise. The
// round trip catches both the default character and best-fit look-alikes, on every system
// (WC_NO_BEST_FIT_CHARS is unknown before Windows 2000, and the used-default flag is not
// given for UTF-8).
bool convertsExactly(const wchar_t* path, String& text)
{
    char narrow[MAX_PATH];
    const int length = WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof narrow, nullptr, nullptr);
    if (length <= 0) {
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    wchar_t back[MAX_PATH];
    const int backLength = MultiByteToWideChar(CP_ACP, 0, narrow, -1, back, MAX_PATH);
    if (backLength <= 0 || !sameText(back, path)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    text = String(narrow, length - 1);
    return true;
}

// The parts of longPath that the code page holds, and shortPath's for the others: a name
// that fits keeps its long form, so that "uninstall.exe" stays itself (the program's mode
// is read from its name) beside a folder that only has its 8.3 form. False when the two do
// not have the same parts or the result does not fit in MAX_PATH.
bool mixParts(const wchar_t* longPath, const wchar_t* shortPath, wchar_t* mixed)
{
    int used = 0;
    for (;;) {
        int longEnd = 0, shortEnd = 0;
        while (longPath[longEnd] && longPath[longEnd] != L'\\')
            ++longEnd;
        while (shortPath[shortEnd] && shortPath[shortEnd] != L'\\')
            ++shortEnd;
        if ((longPath[longEnd] == 0) != (shortPath[shortEnd] == 0) || longEnd >= MAX_PATH)
            return false;
        wchar_t part[MAX_PATH];
        for (int i = 0; i < longEnd; ++i)
            part[i] = longPath[i];
        part[longEnd] = 0;
        String unused;
        const bool fits = convertsExactly(part, unused);
        const wchar_t* taken = fits ? longPath : shortPath;
        const int takenLength = fits ? longEnd : shortEnd;
        if (used + takenLength + 1 >= MAX_PATH)
            return false;
        for (int i = 0; i < takenLength; ++i)
            mixed[used++] = taken[i];
        if (longPath[longEnd] == 0) {
            mixed[used] = 0;
            return true;
        }
        mixed[used++] = L'\\';
        longPath += longEnd + 1;
        shortPath += shortEnd + 1;
    }
}

} // namespace

String codePagePath(const wchar_t* path)
{
    String text;
    if (convertsExactly(path, text))
        return text;
    const DWORD error = GetLastError();
    // The short forms (ASCII, '~' and the code page's characters only), where the volume
    // keeps short names, of the parts that need them.
    typedef DWORD(WINAPI * ShortPathFunction)(const wchar_t*, wchar_t*, DWORD);
    const auto shortPathName = wideCall<ShortPathFunction>("GetShortPathNameW");
    wchar_t shortPath[MAX_PATH];
    wchar_t mixed[MAX_PATH];
    const DWORD length = shortPathName ? shortPathName(path, shortPath, MAX_PATH) : 0;
    if (length > 0 && length < MAX_PATH && mixParts(path, shortPath, mixed) && convertsExactly(mixed, text))
        return text;
    SetLastError(error);
    return String();
}

String wholeAnsiPath(const char* buffer, DWORD length, DWORD size)
{
    if (length == 0)
        return String();
    if (length >= size) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return String();
    }
    const String text(buffer, static_cast<int>(length));
    if (text.indexOf('?') >= 0) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return String();
    }
    return text;
}

String tempFolderPath()
{
    wchar_t wide[MAX_PATH];
    typedef DWORD(WINAPI * TempPathFunction)(DWORD, wchar_t*);
    const auto tempPath = wideCall<TempPathFunction>("GetTempPathW");
    if (tempPath) {
        const DWORD length = tempPath(MAX_PATH, wide);
        if (length > 0 && length < MAX_PATH)
            return codePagePath(wide);
        if (length >= MAX_PATH)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return String();
    }
    // Windows 95, 98 and Me, and an NT without the wide call: the ANSI call.
    char narrow[MAX_PATH];
    return wholeAnsiPath(narrow, GetTempPathA(sizeof narrow, narrow), sizeof narrow);
}
