// updateRegistry: everything the product keeps in the registry and the environment, written
// while installing and removed while uninstalling, under the "Update Registry" dialog.
#pragma once

#include "foundation/String.h"

class RegistryKey;
class RegistryUpdate;

// Install or uninstall per the update's mode, for its destination and in its scope: the
// Windows uninstall entry (for all users HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER; for the
// user HKEY_CURRENT_USER, its uninstaller started with -u) with what "Apps & Features"
// shows, the product key's version, PATH and LIB, TRQFILE (coverageFile; removed when it is
// empty; the machine's for all users, the user's for the user), BoundsChecker's NMCL,
// Developer Studio 6.0, 5.0 and 4.x, and the ".trq" association (HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER \Software\Classes, classesRoot). An uninstall removes only its
// scope's entries: an uninstall entry of another folder stays, and so do the product key and
// the browser's settings while the other scope's install does. While installing the first failure stops the later writes; while
// uninstalling every removal is tried. A failure or a cancel in the dialog is reported once
// at the end, as "Error updating registry " + the setting last shown + the system's text;
// the result is then false. The view, when there is one, is shown while installing.
bool updateRegistry(RegistryUpdate& update, const String& coverageFile);

// Whether this user may make the machine-wide changes (the uninstall entry, the machine
// environment), asked by opening their keys for writing, which changes nothing. A key that
// does not exist yet is no refusal. Always true off Windows NT. On false the last error is
// ERROR_ACCESS_DENIED.
bool machineChangesAllowed();

// ".trq" as "Coverage.File" with its icon and open command (install), or both removed, the
// type only when ".trq" was (uninstall); the type of earlier releases, "Trelliq.File", goes
// in both modes. All in the update's scope's classes (classesRoot).
bool updateFileAssociation(RegistryUpdate& update);

// Shows the key's full name and the value name (nothing for the default value, null), then
// sets the value.
bool setStringShown(RegistryUpdate& update, RegistryKey& key, const char* valueName, const String& text);
// Shows the key's full name, then deletes it with its subkeys. While resuming, a key that
// is not there counts as deleted.
bool deleteTreeShown(RegistryUpdate& update, RegistryKey& key);
