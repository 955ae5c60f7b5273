// FolderIdentity: the canonical long text and the volume and file index of a folder.
#include "foundation/FolderIdentity.h"

#include "foundation/LongPathName.h"

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "\\?\C:\x" and "\\.\C:\x" name "C:\x"; "\\?\UNC\server\share" names "\\server\share".
// Other device names ("\\.\pipe\...", "\\?\Volume{...}") are left as they are.
String withoutPrefix(const String& given)
{
    const String path = given.replace('/', '\\');
    if (path.length() < 4 || path.charAt(0) != '\\' || path.charAt(1) != '\\'
        || (path.charAt(2) != '?' && path.charAt(2) != '.') || path.charAt(3) != '\\')
        return path;
    if (path.length() >= 6 && isLetter(path.charAt(4)) && path.charAt(5) == ':')
        return path.substring(4);
    if (path.length() > 8 && path.substring(4, 8).toLowerCase().compareTo("unc\\") == 0)
        return String("\\\\") + path.substring(8);
    return path;
}

// Every part without the dots and blanks that end it; a part left empty is dropped. Win32
// drops them from the last part of a name, and GetFullPathName from every part on some
// systems (Wine's): either way, such a name leads to the folder without them.
String withoutFinalDotsAndBlanks(const String& path)
{
    String result;
    int begin = 0;
    for (int i = 0; i <= path.length(); ++i) {
        if (i < path.length() && !isSeparator(path.charAt(i)))
            continue;
        int end = i;
        while (end > begin && (path.charAt(end - 1) == '.' || path.charAt(end - 1) == ' '))
            --end;
        // The two separators that start a network name have empty parts before them.
        if (end > begin || (begin == i && begin <= 1)) {
            result += path.substring(begin, end);
            if (i < path.length())
                result += "\\";
        }
        begin = i + 1;
    }
    return result;
}

} // namespace

FolderIdentity::FolderIdentity(const String& path)
{
    if (path.trim().isEmpty())
        return;
    String text = withoutPrefix(path);
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(text.c_str(), sizeof buffer, buffer, nullptr);
    if (length > 0 && length < sizeof buffer)
        text = String(buffer, static_cast<int>(length));
    text = withoutFinalDotsAndBlanks(text);
    length = static_cast<DWORD>(getLongPathName(text.c_str(), buffer, sizeof buffer));
    if (length > 0 && length < sizeof buffer)
        text = String(buffer, static_cast<int>(length));
    canonical_ = Path(text).addTrailingSeparator();

    // No access asked: only the file information is read, and no sharing mode is then in
    // the way. Windows 95, 98 and Me open no folder: their folders have text only.
    const HANDLE handle = CreateFileA(canonical_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION information;
    // Some network file systems give every file the index 0: that is no identity.
    if (GetFileInformationByHandle(handle, &information) && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        && (information.nFileIndexHigh || information.nFileIndexLow)) {
        identified_ = true;
        volume_ = information.dwVolumeSerialNumber;
        indexHigh_ = information.nFileIndexHigh;
        indexLow_ = information.nFileIndexLow;
    }
    CloseHandle(handle);
}

bool FolderIdentity::sameAs(const FolderIdentity& other) const
{
    if (canonical_.isEmpty() || other.canonical_.isEmpty())
        return false;
    if (identified_ && other.identified_)
        return volume_ == other.volume_ && indexHigh_ == other.indexHigh_ && indexLow_ == other.indexLow_;
    return canonical_.equals(other.canonical_);
}
