// createFolderWithAccess: a new folder whose rights are set as it is made.
#pragma once

#include "foundation/String.h"

enum class FolderAccess {
    // The current user, the administrators and SYSTEM: full control; nobody else anything.
    // For a folder of our own inside a folder others can write (the temporary folder).
    ownerAndAdministrators,
    // The rights Program Files gives: the administrators and SYSTEM full control, the users
    // read and execute. For a product folder made outside Program Files.
    likeProgramFiles,
};

// Creates the folder path (its parent must exist) with exactly the rights of access,
// inherited by everything made in it, and none inherited from its parent. On Windows 95
// and 98, which have no rights on files, it is a plain CreateDirectoryA. False with the
// last error set when the folder exists already (ERROR_ALREADY_EXISTS: an existing folder
// is never taken over) or cannot be made with those rights.
bool createFolderWithAccess(const String& path, FolderAccess access);
