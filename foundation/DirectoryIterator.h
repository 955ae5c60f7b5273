// DirectoryIterator: the names in one directory, as the system lists them.
#pragma once

#include "foundation/Path.h"

#include <windows.h>

// Owns the listing handle (FindFirstFileA on directory + "/*") and closes it when closed
// or destroyed.
class DirectoryIterator {
public:
    // Throws Path::Exception "<directory>: directory open failure: <C library text>".
    explicit DirectoryIterator(const Path& directory);
    ~DirectoryIterator() { close(); }
    DirectoryIterator(const DirectoryIterator&) = delete;
    DirectoryIterator& operator=(const DirectoryIterator&) = delete;

    // The next entry's name, "." and ".." skipped; false at the end of the listing (and
    // after a read error, which ends it too).
    bool next(String& name);
    void close();

    const Path& directory() const { return directory_; }

private:
    Path directory_;
    HANDLE handle_;
    WIN32_FIND_DATAA found_;
    bool pending_; // found_ holds an entry not yet returned
};
