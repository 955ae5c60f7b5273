// protectedFolderReason: roots, the system's own folders and the users' folders, compared by
// canonical long text and by identity.
#include "host/ProtectedFolders.h"

#include "foundation/FolderIdentity.h"
#include "foundation/SystemLibrary.h"
#include "host/InstallScope.h"
#include "host/RegistryKey.h"
#include "host/Shell.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

namespace {

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

bool sameFolder(const FolderIdentity& folder, const String& other)
{
    return other.length() > 0 && folder.sameAs(FolderIdentity(other));
}

// A special folder the system does not know (Windows 95 knows no local application data,
// for one) protects nothing.
bool isSpecialFolder(const FolderIdentity& folder, int csidl)
{
    String path;
    return getSpecialFolder(csidl, path) && sameFolder(folder, path);
}

bool isEnvironmentFolder(const FolderIdentity& folder, const char* name)
{
    const char* value = std::getenv(name);
    return value && sameFolder(folder, value);
}

// The user's profile folder as the shell gives it, else as the environment does; empty on
// systems without profiles.
String profileFolder()
{
    String path;
    if (getSpecialFolder(CSIDL_PROFILE, path))
        return path;
    const char* value = std::getenv("USERPROFILE");
    return value ? String(value) : String();
}

// The shell's Program Files folder, else the registry's: CSIDL_PROGRAM_FILES comes with
// shell32 5.0 (Windows 2000, Me), which also brings SHGetFolderPathA; before it the setup
// programs of Windows keep the folder in ProgramFilesDir.
String programFilesFolder()
{
    typedef HRESULT(WINAPI * FolderPathFunction)(HWND, int, HANDLE, DWORD, LPSTR);
    const auto folderPath = reinterpret_cast<FolderPathFunction>(
        reinterpret_cast<void*>(systemFunction("shell32.dll", "SHGetFolderPathA")));
    char buffer[MAX_PATH];
    if (folderPath)
        return SUCCEEDED(folderPath(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? String(buffer)
                                                                                                      : String();
    String folder;
    RegistryKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion").getString("ProgramFilesDir", folder);
    return folder;
}

} // namespace

void programFilesFolders(String (&folders)[programFilesFolderCount])
{
    folders[0] = programFilesFolder();
    const char* const variables[] = {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"};
    for (int i = 0; i < 3; ++i) {
        const char* value = std::getenv(variables[i]);
        folders[i + 1] = value ? String(value) : String();
    }
}

bool insideProgramFiles(const Path& folder)
{
    const String inside = folder.replace('/', '\\').toLowerCase();
    String candidates[programFilesFolderCount];
    programFilesFolders(candidates);
    for (const String& candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const String prefix = Path(candidate).addTrailingSeparator().replace('/', '\\').toLowerCase();
        if (inside.length() > prefix.length() && inside.substring(0, prefix.length()).compareTo(prefix) == 0)
            return true;
    }
    return false;
}

String protectedFolderReason(const Path& given)
{
    const FolderIdentity folder(given);
    if (isRoot(folder.canonical()))
        return folder.canonical().charAt(1) == ':' ? String("it is the root of a drive")
                                                   : String("it is the root of a network share");
    char buffer[MAX_PATH] = "";
    if (GetWindowsDirectoryA(buffer, sizeof buffer) && sameFolder(folder, buffer))
        return "it is the Windows folder";
    // The Windows folder's drive under another name (a substituted drive, a share of it).
    if (buffer[0] && buffer[1] == ':' && sameFolder(folder, String(buffer, 2) + "\\"))
        return "it is the root of a drive";
    if (GetSystemDirectoryA(buffer, sizeof buffer) && sameFolder(folder, buffer))
        return "it is the system folder";
    String programFiles[programFilesFolderCount];
    programFilesFolders(programFiles);
    for (const String& programs : programFiles) {
        if (sameFolder(folder, programs))
            return "it is a Program Files folder";
    }
    const String profile = profileFolder();
    if (sameFolder(folder, profile) || isEnvironmentFolder(folder, "USERPROFILE"))
        return "it is the user's profile folder";
    if (isSpecialFolder(folder, CSIDL_DESKTOPDIRECTORY))
        return "it is the user's Desktop folder";
    if (isSpecialFolder(folder, CSIDL_PERSONAL))
        return "it is the user's Documents folder";
    if (isSpecialFolder(folder, CSIDL_APPDATA) || isEnvironmentFolder(folder, "APPDATA"))
        return "it is the user's application data folder";
    if (isSpecialFolder(folder, CSIDL_LOCAL_APPDATA) || isEnvironmentFolder(folder, "LOCALAPPDATA"))
        return "it is the user's local application data folder";
    String userPrograms;
    if (userProgramsFolder(userPrograms) && sameFolder(folder, userPrograms))
        return "it is the user's Programs folder";
    if (isSpecialFolder(folder, CSIDL_COMMON_APPDATA) || isEnvironmentFolder(folder, "ProgramData"))
        return "it is the common application data folder";
    // The profiles folder ("C:\Users", "C:\Documents and Settings") holds every user's; a
    // profile at a root has none.
    const Path profileForm = FolderIdentity(profile).canonical();
    if (!profile.isEmpty() && !isRoot(profileForm)
        && sameFolder(folder, Path(profileForm.substring(0, profileForm.length() - 1)).directory()))
        return "it is the folder of the users' profiles";
    return String();
}
