// InstallScope: for whom the product is installed, and where each scope keeps it.
#pragma once

#include "foundation/Path.h"

#include <windows.h>

// Machine: for all users (the Program Files folder, the machine's uninstall list and
// environment, the common program menu), which needs administrator rights on Windows NT.
// User: for the current user only (the user's Programs folder, the user's uninstall list,
// environment, file types and program menu), which needs no rights beyond the user's own.
enum class InstallScope { machine, user };

// The Windows uninstall entry of the product, under HKEY_LOCAL_MACHINE for the machine
// scope and HKEY_CURRENT_USER for the user scope.
String uninstallEntryKey();

// Where a file type or extension (".trq", "Coverage.File") is registered: the key
// classesKey(name) under HKEY_LOCAL_MACHINE for the machine scope, under HKEY_CURRENT_USER
// for the user scope. Not through HKEY_CLASSES_ROOT: since Windows 2000 it writes to, and
// deletes, the user's key where one exists, so an install for all users would take over the
// user's own install's file type.
HKEY classesRoot(InstallScope scope);
String classesKey(const char* name);

// The user's Programs folder ("<local application data>\Programs", without a trailing
// separator): the shell's local application data folder, else (shells before 5.0) the one
// the user's shell folders in the registry name. False, folder unchanged, when neither knows it.
bool userProgramsFolder(String& folder);

// The InstallLocation of the product's uninstall entry under root; false when there is no
// entry or it names no folder.
bool uninstallEntryLocation(HKEY root, String& location);

// Whether the product's uninstall entry, the machine's or the user's, names folder as its
// InstallLocation (letters and separators folded): a mark that only a run with the right
// to write that entry leaves.
bool uninstallEntryNames(const Path& folder);

// Whose the product's uninstall entry under root is: there is none, it is the install's in
// folder (its InstallLocation names folder, or names no folder, as an entry that lost it),
// or it is another install's.
enum class EntryOwner { none, folder, other };
EntryOwner uninstallEntryOwner(HKEY root, const Path& folder);

// The scope of the install in folder, for its uninstaller: the scope whose uninstall entry
// is the folder's (the user's first), else the user scope for a folder inside the user's
// Programs folder, else the machine scope.
InstallScope scopeOfInstall(const Path& folder);
