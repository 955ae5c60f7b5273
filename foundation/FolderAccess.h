// createFolderWithAccess: a new folder whose rights are set as it is made.
#pragma once

#include "foundation/String.h"

#include <windows.h>

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

// The security descriptor a folder with the rights of access is made with (Windows NT): an
// entry for each holder of rights, inherited by the files and folders made below, built
// with what Windows NT 4.0 has; protected from the parent's inheritable entries where the
// system has that (Windows 2000 and later). Not copied: the descriptor points into it.
class FolderSecurity {
public:
    explicit FolderSecurity(FolderAccess access);
    FolderSecurity(const FolderSecurity&) = delete;
    FolderSecurity& operator=(const FolderSecurity&) = delete;

    // Null, with the last error set, when it could not be built.
    SECURITY_DESCRIPTOR* descriptor() { return built_ ? &descriptor_ : nullptr; }

private:
    // Room for four entries with SIDs of up to 68 bytes each, DWORD-aligned as an ACL must be.
    union alignas(DWORD) {
        ACL acl;
        BYTE bytes[sizeof(ACL) + 4 * (sizeof(ACCESS_ALLOWED_ACE) + 68)];
    } list_;
    SECURITY_DESCRIPTOR descriptor_;
    bool built_ = false;
};
