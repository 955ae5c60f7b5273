// removalRefusal: roots, the system's own folders and folders that do not hold the product.
#include "setup/RemovalGuard.h"

#include "host/Shell.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

namespace {

// Compared with a trailing separator on both sides, since Path counts it.
Path folderForm(const String& path)
{
    return Path(path).absolutePath().addTrailingSeparator();
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

String removalRefusal(const Path& given)
{
    // A root is refused even when it cannot be reached at the moment.
    const Path folder = folderForm(given);
    if (isRoot(folder))
        return folder.charAt(1) == ':' ? String("it is the root of a drive") : String("it is the root of a network share");
    struct _stat record;
    if (!given.status(&record))
        return String();

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
    if (!(folder + "uninstall.exe").isFile() || !(folder + "bin").isDirectory())
        return "it does not hold the product's uninstall.exe and bin folder";
    return String();
}
