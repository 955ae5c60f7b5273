// protectedFolderReason: the folders setup never installs into and never removes.
#pragma once

#include "foundation/Path.h"

// Why folder is one that setup neither installs into nor removes, or an empty text when it
// is none of them: the root of a drive or of a network share, the Windows folder, the
// system folder, a Program Files folder (either view's), the user's profile, Desktop,
// Documents and application data (roaming and local) folders, the user's Programs folder
// (userProgramsFolder), the common application data folder and the folder of the users' profiles (the profile's parent). Folders the system
// does not know (Windows 95 has no local application data) are left out. The folder need
// not exist. Compared are the folders themselves (FolderIdentity): letter case, '/' or
// '\\', a trailing separator, "." and "..", dots and blanks that end a part, a "\\?\" or
// "\\.\" prefix and the 8.3 forms of existing names make no difference, and neither does
// another drive that leads to the same folder where the system tells folders apart by
// their volume and file index (Windows NT).
String protectedFolderReason(const Path& folder);

// How many folders programFilesFolders names.
const int programFilesFolderCount = 4;

// The Program Files folders into folders: the shell's (SHGetFolderPathA, shell32 5.0 and
// later) or, where the shell knows no such folder (Windows 95, 98 and NT 4.0), the
// registry's ProgramFilesDir; then the environment's ProgramFiles, ProgramFiles(x86) and
// ProgramW6432. A folder the system does not name is left empty.
void programFilesFolders(String (&folders)[programFilesFolderCount]);

// Whether folder lies inside one of the Program Files folders, compared as text without
// regard to letter case or '/' and '\\'.
bool insideProgramFiles(const Path& folder);
