// Environment: persistent environment variables, in the registry on Windows NT and in the
// product's batch file (called from c:/autoexec.bat) on Windows 95.
#pragma once

#include "foundation/String.h"
#include "host/RegistryValue.h"

class RegistryUpdate;

// Every operation returns false with the thread's last error set on failure and never
// throws, except that on Windows 95 a batch file that cannot be opened, read or written
// throws its File::Exception.

// The batch file of the Windows 95 settings (destination + "bin/trqset.bat"); to be set
// before any variable is written there.
void setBatchFilePath(const String& path);
const String& batchFilePath();

// On Windows NT the per-user key is used when perUser is set or the machine key is not
// writable, the machine key otherwise; the stored type and text come back unexpanded. On
// Windows 95 the type is REG_SZ; "PATH", "LIB" and "INCLUDE" read as an empty text (the
// batch line extends the earlier value by reference) and other names come from this
// process's environment (ERROR_ENVVAR_NOT_FOUND when not set). On failure the value is
// left unchanged. The value comes in form (see RegistryValue).
bool getEnvironment(const char* name, RegistryValue& value, bool perUser, TextForm form = TextForm::Ansi);
// The text only; on failure the text is left unchanged.
bool getEnvironment(const char* name, String& text, bool perUser);

// Sets name with the value's type and text (REG_SZ for the text form); a value in the wide
// form goes through the wide API, on Windows 95 to the batch file in the ANSI code page.
bool setEnvironment(const char* name, const RegistryValue& value, bool perUser);
bool setEnvironment(const char* name, const String& text, bool perUser);
// On Windows 95 a name without a line in the batch file gives ERROR_FILE_NOT_FOUND and
// leaves the files as they were.
bool removeEnvironment(const char* name, bool perUser);

// Puts directory (its '/' written as '\\', followed by ';') at the front of a ';' list
// while the update installs, or takes every entry of it out while it uninstalls, wherever
// it stands and whatever its letter case (withDirectoryFirst, withoutDirectory); a list
// left empty is deleted when it had been read. Without keyPath the list is the
// environment variable name (machine scope for "PATH" while the update is for all users,
// per user otherwise); with keyPath
// it is the value name under HKEY_CURRENT_USER\keyPath, read from there or else from
// HKEY_LOCAL_MACHINE. The list is read and written in the wide form, so every other entry
// keeps its every unit; directory is converted from the ANSI code page. The type read is
// written back. The list's name is shown as the setting being written. False after a
// failed write or delete, and after a read that fails for any reason but a missing value
// or finds a value that is not text (ERROR_UNSUPPORTED_TYPE), when nothing is written.
bool editDirectoryList(RegistryUpdate& update, const char* keyPath, const char* name, const String& directory);

// Windows NT: whether the machine environment key can be written, probed (by writing and
// removing a scratch variable) the first time a variable of machine scope is used or this
// is asked, never before; the variables of machine scope go to the per-user key when it
// cannot.
bool machineEnvironmentWritable();
// Whether a registry change of a variable has not been announced yet.
bool environmentChanged();
// Broadcasts WM_WININICHANGE "Environment" once when a variable changed in the registry
// since the last announcement (waiting at most 5000 ms for each hung window) and returns
// whether it did. Made at program end; callable earlier.
bool announceEnvironmentChange();
