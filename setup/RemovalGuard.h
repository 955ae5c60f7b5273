// removalRefusal: the uninstaller's look at a folder before removing it with everything in it.
#pragma once

#include "foundation/Path.h"

// Why folder must not be removed, or an empty text when it may. A drive or network-share
// root is refused; so is an existing folder that is the Windows or system folder, a
// Program Files folder or the user's profile folder, or that lacks the product's
// uninstall.exe or bin folder. Any other path that does not exist is not refused here: its
// removal fails on its own.
String removalRefusal(const Path& folder);
