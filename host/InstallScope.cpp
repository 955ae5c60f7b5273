// InstallScope: the registry places and folders of each scope, and the scope of an install.
#include "host/InstallScope.h"

#include "foundation/ProductIdentity.h"
#include "host/RegistryKey.h"
#include "host/Shell.h"

#include <shlobj.h>

String uninstallEntryKey()
{
    return String("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + product::name;
}

HKEY classesRoot(InstallScope scope)
{
    return scope == InstallScope::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

String classesKey(const char* name)
{
    return String("Software\\Classes\\") + name;
}

bool userProgramsFolder(String& folder)
{
    String local;
    if (!getSpecialFolder(CSIDL_LOCAL_APPDATA, local)) {
        // Shells before 5.0 know no CSIDL_LOCAL_APPDATA; where the user has the folder, the
        // registry's shell folders name it.
        RegistryKey shellFolders(HKEY_CURRENT_USER,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
        if (!shellFolders.getString("Local AppData", local) || local.isEmpty())
            return false;
    }
    folder = Path(local).addTrailingSeparator() + "Programs";
    return true;
}

bool uninstallEntryLocation(HKEY root, String& location)
{
    RegistryKey entry(root, uninstallEntryKey());
    return entry.getString("InstallLocation", location) && !location.trim().isEmpty();
}

namespace {

bool sameFolder(const String& a, const Path& b)
{
    return Path(a).addTrailingSeparator().equals(Path(b).addTrailingSeparator());
}

} // namespace

bool uninstallEntryNames(const Path& folder)
{
    String location;
    return (uninstallEntryLocation(HKEY_LOCAL_MACHINE, location) && sameFolder(location, folder))
           || (uninstallEntryLocation(HKEY_CURRENT_USER, location) && sameFolder(location, folder));
}

EntryOwner uninstallEntryOwner(HKEY root, const Path& folder)
{
    RegistryKey entry(root, uninstallEntryKey());
    if (!entry.open(RegistryKey::Read))
        return EntryOwner::none;
    String location;
    if (!uninstallEntryLocation(root, location))
        return EntryOwner::folder;
    return sameFolder(location, folder) ? EntryOwner::folder : EntryOwner::other;
}

InstallScope scopeOfInstall(const Path& folder)
{
    if (uninstallEntryOwner(HKEY_CURRENT_USER, folder) == EntryOwner::folder)
        return InstallScope::user;
    if (uninstallEntryOwner(HKEY_LOCAL_MACHINE, folder) == EntryOwner::folder)
        return InstallScope::machine;
    String programs;
    if (userProgramsFolder(programs)) {
        const Path inside = Path(programs).addTrailingSeparator();
        if (folder.length() > inside.length() && Path(folder.substring(0, inside.length())).equals(inside))
            return InstallScope::user;
    }
    return InstallScope::machine;
}
