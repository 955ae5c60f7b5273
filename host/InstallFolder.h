// installFolderRefusal: whether setup may install into a folder, for every way of naming one.
#pragma once

#include "foundation/String.h"

// The message that refuses folder as the install folder, or an empty text when setup may
// install into it. Accepted is the full path of a local folder ("C:\Tools\Trelliq") or of
// a folder on a network share ("\\server\share\Trelliq") that:
// - holds none of ; " < > | ? * (';' would split the PATH entry, '"' the command lines),
//   no ':' but the drive's and no control character, and no part that ends with a dot or a
//   blank (Windows drops those, so the name would be another folder's);
// - is none of the folders protectedFolderReason names (roots, the Windows, system,
//   Program Files and profile folders);
// - does not exist, or is an empty folder, or holds an install of the product
//   (holdsProductInstall) or the journal of one that was interrupted
//   (holdsInstallJournal); a file, a link, or a folder with files of its own is refused,
//   since the uninstaller removes the install folder with everything in it.
// Used for the destination page and the unattended install alike.
String installFolderRefusal(const String& folder);
