// holdsProductInstall: the marks by which a folder is known to hold an install of the product.
#pragma once

#include "foundation/Path.h"

// The marks are files that every install writes and no other program's folder holds
// together: the uninstaller uninstall.exe in the folder (the install's copy of setup.exe)
// and the product's own programs bin\trqc.exe and bin\coverageBrowser.exe (from the
// payload). True when all three are regular files and neither bin nor any of them is a
// link (a symbolic link or junction), so that a mark cannot be borrowed from elsewhere.
// Earlier releases wrote the same files, so their installs carry the marks too.
bool holdsProductInstall(const Path& folder);

// The mark of an install that was interrupted (killed, or the power cut): the journal of
// its changes (product::journalName, a regular file that begins with product::journalMagic,
// not a link) in the folder. The next run takes it over and takes the changes back.
bool holdsInstallJournal(const Path& folder);

