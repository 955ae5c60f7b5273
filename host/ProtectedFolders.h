// protectedFolderReason: the folders setup never installs into and never removes.
#pragma once

#include "foundation/Path.h"

// Why folder is one that setup neither installs into nor removes, or an empty text when it
// is none of them: the root of a drive or of a network share, the Windows folder, the
// system folder, a Program Files folder (either view's) or the user's profile folder. The
// folder need not exist; letter case, '/' or '\\', a trailing separator, "." and ".." and
// the 8.3 forms of existing names make no difference.
String protectedFolderReason(const Path& folder);
