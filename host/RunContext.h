// RunContext: what this run of the program is, made by the application and passed to the
// steps that need it.
#pragma once

#include "foundation/Path.h"
#include "host/InstallScope.h"

struct RunContext {
    // True while installing, false while uninstalling.
    bool installMode = true;
    // True while an uninstall finishes one that was interrupted: an entry or file that is
    // already gone is no failure.
    bool resuming = false;
    // The install folder, ending with a separator (empty until the user has chosen it).
    Path destination;
    // False after -a or -s: no page is shown and every page answers Next at once; the
    // running-program check is skipped.
    bool interactive = true;
    // True after -s: no window of any kind; every message goes to the log.
    bool silent = false;
    // For all users or for the current user only; decided before the first change.
    InstallScope scope = InstallScope::machine;
};
