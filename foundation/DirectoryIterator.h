// DirectoryIterator: the names in one directory, as the system lists them.
#pragma once

#include "foundation/FindHandle.h"
#include "foundation/Path.h"

// Owns the listing handle (FindFirstFileA on directory + "/*") and closes it when closed
// or destroyed.
class DirectoryIterator {
public:
    // Throws Path::Exception "<directory>: directory open failure: <C library text>".
    explicit DirectoryIterator(const Path& directory);

    // The next entry's name, "." and ".." skipped; false at the end of the listing (and
    // after a read error, which ends it too).
    bool next(String& name);
    void close() { search_.close(); }

    const Path& directory() const { return directory_; }

private:
    Path directory_;
    FindHandle search_;
    bool pending_; // the search's entry has not been returned yet
};
