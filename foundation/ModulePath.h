// modulePath: where the running program's file is.
#pragma once

#include "foundation/String.h"

// The full path of the running executable in the code page (codePagePath: its 8.3 form
// where its long name has characters the code page lacks); fetched once (again while still
// empty) and cached. Empty, with the last error set, when no form of it fits the code page
// or MAX_PATH - 1 characters: a path with '?' for the missing characters is never given.
String modulePath();
