// removalRefusal: the uninstaller's look at a folder before removing it with everything in it.
#pragma once

#include "foundation/Path.h"

// Why folder must not be removed, or an empty text when it may. The folders that
// protectedFolderReason names are refused; so is an existing folder that lacks the
// product's uninstall.exe or bin folder. Any other path that does not exist is not refused
// here: its removal fails on its own.
String removalRefusal(const Path& folder);
