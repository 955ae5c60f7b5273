// FolderIdentity: one folder, whatever name it is given by.
#pragma once

#include "foundation/Path.h"

#include <windows.h>

// A folder named by a path, in the two forms that tell whether two names lead to the same
// folder: its canonical text and, where the folder exists and the system opens folders
// (Windows NT; not 95, 98 or Me), its identity: the volume serial number and the file index.
// The canonical text is the full path ('/' taken as '\\'; ".", ".." and relative paths
// resolved) without a "\\?\" or "\\.\" prefix ("\\?\UNC\server" becomes "\\server"),
// without the dots and blanks that end a part (Win32 drops them from names), in long names
// where the folder exists, and with a trailing separator. The identity is that of the name
// itself: a link or junction is not followed, so it is never the identity of its target.
class FolderIdentity {
public:
    explicit FolderIdentity(const String& path);

    const Path& canonical() const { return canonical_; }
    bool identified() const { return identified_; }

    // Equal identities, or where either has none, equal canonical texts (letter case and
    // separators aside). An empty path is the same as no folder.
    bool sameAs(const FolderIdentity& other) const;

private:
    Path canonical_;
    bool identified_ = false;
    DWORD volume_ = 0;
    DWORD indexHigh_ = 0;
    DWORD indexLow_ = 0;
};
