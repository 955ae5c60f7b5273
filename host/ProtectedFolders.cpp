// protectedFolderReason: roots and the system's own folders, compared in their long forms.
#include "host/ProtectedFolders.h"

#include "foundation/LongPathName.h"
#include "host/Shell.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

namespace {

// The canonical form with a trailing separator, in long names where the path exists, since
// Path counts a trailing separator and an 8.3 name is another text for the same folder.
Path folderForm(const String& path)
{
    Path folder = Path(path).absolutePath();
    char buffer[MAX_PATH];
    const int length = getLongPathName(folder.c_str(), buffer, sizeof buffer);
    if (length > 0 && length < static_cast<int>(sizeof buffer))
        folder = Path(String(buffer, length));
    return folder.addTrailingSeparator();
}

bool isRoot(const Path& folder)
{
    // "X:\" for a drive; "\\server\share\" for a network share.
    if (folder.length() == 3 && folder.charAt(1) == ':')
        return true;
    if (folder.length() > 2 && Path::fold(folder.charAt(0)) == '/' && Path::fold(folder.charAt(1)) == '/') {
        int separators = 0;
        for (int i = 2; i < folder.length() - 1; ++i)
            separators += Path::fold(folder.charAt(i)) == '/';
        return separators <= 1;
    }
    return false;
}

bool sameFolder(const Path& folder, const String& other)
{
    return other.length() > 0 && folder.equals(folderForm(other));
}

bool isSpecialFolder(const Path& folder, int csidl)
{
    String path;
    return getSpecialFolder(csidl, path) && sameFolder(folder, path);
}

bool isEnvironmentFolder(const Path& folder, const char* name)
{
    const char* value = std::getenv(name);
    return value && sameFolder(folder, value);
}

} // namespace

String protectedFolderReason(const Path& given)
{
    const Path folder = folderForm(given);
    if (isRoot(folder))
        return folder.charAt(1) == ':' ? String("it is the root of a drive") : String("it is the root of a network share");
    char buffer[MAX_PATH] = "";
    if (GetWindowsDirectoryA(buffer, sizeof buffer) && sameFolder(folder, buffer))
        return "it is the Windows folder";
    if (GetSystemDirectoryA(buffer, sizeof buffer) && sameFolder(folder, buffer))
        return "it is the system folder";
    if (isSpecialFolder(folder, CSIDL_PROGRAM_FILES) || isEnvironmentFolder(folder, "ProgramFiles")
        || isEnvironmentFolder(folder, "ProgramFiles(x86)") || isEnvironmentFolder(folder, "ProgramW6432"))
        return "it is a Program Files folder";
    if (isSpecialFolder(folder, CSIDL_PROFILE) || isEnvironmentFolder(folder, "USERPROFILE"))
        return "it is the user's profile folder";
    return String();
}
