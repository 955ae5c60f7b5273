// Path: a String that names a file and compares the way the file system does.
#pragma once

#include "foundation/Exception.h"
#include "foundation/SearchPath.h"
#include "foundation/String.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>

// Comparison ignores letter case, takes '\\' and '/' alike and counts a run of separators
// as one. The file-system operations throw Path::Exception, whose text is the path, the
// failed operation and the C library's text for errno.
class Path : public String {
public:
    enum Kind { Server = 1, Drive = 2, Directory = 3, Leaf = 4 };

    // The state of a component iteration (nextComponent); start with a fresh record.
    struct Component;

    class Exception : public ExceptionText {
    public:
        explicit Exception(const String& text) : ExceptionText(text) {}
        const char* title() const override { return "File system error"; }
    };

    Path() = default;
    Path(const char* s) : String(s) {}
    Path(const String& s) : String(s) {}

    // Builds the folding table: '\\' to '/', 'A'..'Z' to 'a'..'z', every other byte to
    // itself. Made once at start-up, before the locale is set, so that the table never
    // depends on the user's code page.
    static void buildFoldingTable();
    static char fold(char c) { return foldingTable_[static_cast<unsigned char>(c)]; }

    // True exactly when compareTo is 0.
    bool equals(const Object& other) const override;
    // String's sampling rule over the folded bytes.
    uint32_t hashCode() const override;
    // The difference of the first differing folded bytes, separator runs counting as
    // one; 0 when both end together. A trailing separator counts ("a/" is not "a"). A UNC
    // start ("//") against a plain root ("/") compares byte-wise instead.
    int compareTo(const String& other) const override;
    int compareTo(const char* s) const { return compareTo(String(s)); }

    // Starts with a separator, or with a letter and ':'.
    bool isAbsolute() const;
    // The last separator as written, '\\' when there is none.
    char separatorChar() const;
    // Appends separatorChar unless the path is empty or already ends with a separator.
    Path& addTrailingSeparator();

    // directory: up to and including the last separator or ':'; extension: from the last
    // '.' of the name unless that dot starts or ends the name; base: what lies between.
    // Any output may be null.
    void split(String* directory, String* base, String* extension) const;
    // Everything after the last separator or ':'.
    Path fileName() const;
    // The directory part with its final separator or ':'; "./" when there is none.
    Path directory() const;

    // Advances record to the next component (Server, Drive, Directory or Leaf; "." and
    // ".." are always Directory, except as the server of a UNC start). False when exhausted; the record is then reset.
    bool nextComponent(Component& record) const;
    // The canonical absolute form with backslashes: relative paths are taken from the
    // current directory, "." dropped, ".." resolved but never above a drive, server or
    // root; an existing directory gets a trailing separator.
    Path absolutePath() const;
    // absolutePath without the file system: no trailing separator is added for an existing
    // directory, and currentDirectory is asked only by a relative path or one that starts
    // with a single separator (for its drive).
    Path resolved(Path (*currentDirectory)()) const;
    // Searches this program name along searchPath, continuing where the last call
    // stopped: true with the directory (with a trailing separator) where name or
    // name + ".exe" is a file; false with an empty directory at the end of the list. A
    // name with a directory part is found there on the first call; later calls return
    // false and leave the directory unchanged. directory may be null.
    bool findInSearchPath(SearchPath& searchPath, Path* directory) const;

    // _stat on the path as the C runtime accepts it (no trailing separator, except for
    // roots; a UNC share root as "\\server\share\"). Never throws; false on failure.
    bool status(struct _stat* record) const;
    bool isDirectory() const;
    bool isFile() const;

    // With the write bit 0x80 in mode the read-only attribute is cleared, else set.
    void setPermission(int mode) const;
    // Access and modification time, in seconds since 1970.
    void setModificationTime(time_t time) const;
    // Removes a file, or a directory with everything in it; read-only files too. A link
    // to a directory (a symbolic link or junction) is removed itself, never entered.
    // Nothing is rolled back when a removal fails half-way.
    void remove() const;
    // Moves the file or directory to target; into target when that is an existing
    // directory (which must end with a separator); replaces an existing file; copies and
    // removes across devices.
    void renameTo(const Path& target) const;
    // Copies bytes, modification time and read-only state; into target when that is an
    // existing directory. A failed copy removes the incomplete target; a source that
    // cannot be opened leaves the target untouched.
    void copyTo(const Path& target) const;

    // The current directory with a trailing separator (at most 255 characters).
    static Path currentDirectory();
    // The temporary folder with a trailing separator (tempFolderPath; empty when that is);
    // never throws.
    static Path tempDirectory();
    // The HOME environment variable, read again on each call until it is found set.
    static String homeDirectory();

private:
    // Throws Path::Exception "<path>: <what>: <C library text>".
    [[noreturn]] void fail(const String& what) const;

    static char foldingTable_[256];
};

struct Path::Component : public Object {
    int position = 0; // where the next component starts
    int kind = 0;
    Path component;
};

Path operator+(const Path& a, const String& b);
Path operator+(const Path& a, const char* b);
