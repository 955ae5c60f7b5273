// Path: the file-system operations (the text operations are in PathText.cpp).
#include "foundation/Path.h"

#include "foundation/CodePagePath.h"
#include "foundation/DirectoryIterator.h"
#include "foundation/OwningVector.h"
#include "foundation/PathText.h"
#include "foundation/SearchPath.h"

#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <io.h>
#include <sys/utime.h>

using namespace pathText;

Path Path::absolutePath() const
{
    Path result = resolved(currentDirectory);
    if (isDirectory())
        result.addTrailingSeparator();
    return result;
}

bool Path::findInSearchPath(SearchPath& searchPath, Path* directory) const
{
    String ownDirectory;
    split(&ownDirectory, nullptr, nullptr);
    if (!ownDirectory.isEmpty()) {
        if (searchPath.position != 0)
            return false;
        searchPath.position = 1;
        if (directory)
            *directory = ownDirectory;
        return true;
    }

    const String& list = searchPath.list();
    while (searchPath.position < list.length()) {
        int end = list.indexOf(searchPath.separator(), searchPath.position);
        if (end < 0)
            end = list.length();
        Path entry = list.substring(searchPath.position, end);
        searchPath.position = end + 1;
        entry.addTrailingSeparator();
        if (entry.isEmpty())
            entry = "./";
        if (entry.length() > 2 && entry.charAt(0) == '~' && isSeparator(entry, 1)) {
            Path home = homeDirectory();
            if (!home.isEmpty())
                entry = home.addTrailingSeparator() + entry.substring(2);
        }
        const Path candidate = entry + *this;
        if (candidate.isFile() || (candidate + ".exe").isFile()) {
            if (directory)
                *directory = entry;
            return true;
        }
    }
    if (directory)
        *directory = Path();
    return false;
}

bool Path::status(struct _stat* record) const
{
    Path adjusted = *this;
    const bool root = isRootSeparator(*this)
                      || (length() == 3 && std::isalpha(static_cast<unsigned char>(charAt(0))) && charAt(1) == ':'
                          && isSeparator(*this, 2));
    Component c;
    const bool shareRoot = separatorRun(*this, 0) == 2 && nextComponent(c) && c.kind == Server && nextComponent(c)
                           && c.kind == Directory && !nextComponent(c);
    if (shareRoot)
        adjusted = Path(*this).addTrailingSeparator().replace('/', '\\');
    else if (!root && length() > 1 && isSeparator(*this, length() - 1))
        adjusted = substring(0, length() - 1);
    return _stat(adjusted.c_str(), record) == 0;
}

bool Path::isDirectory() const
{
    struct _stat record;
    return status(&record) && (record.st_mode & 0x4000) != 0;
}

bool Path::isFile() const
{
    struct _stat record;
    return status(&record) && (record.st_mode & 0x8000) != 0;
}

void Path::fail(const String& what) const
{
    throw Exception(*this + ": " + what);
}

void Path::setPermission(int mode) const
{
    if (_chmod(c_str(), mode) != 0)
        fail("set file permission failure");
}

void Path::setModificationTime(time_t time) const
{
    struct _utimbuf times;
    times.actime = time;
    times.modtime = time;
    if (_utime(c_str(), &times) != 0)
        fail("set modification time failure");
}

void Path::remove() const
{
    // A link (symbolic link or junction) is removed itself: neither its target's
    // contents nor its target's permissions are touched. This also catches links whose
    // target is gone, which status cannot see.
    String link = *this;
    if (link.length() > 1 && isSeparator(link, link.length() - 1))
        link = link.substring(0, link.length() - 1);
    const DWORD attributes = GetFileAttributesA(link.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (_rmdir(link.c_str()) != 0)
                fail("remove directory failure");
        } else if (::remove(link.c_str()) != 0) {
            fail("remove file failure");
        }
        return;
    }

    struct _stat record;
    if (!status(&record)) {
        errno = ENOENT;
        fail("remove failure");
    }
    if (record.st_mode & 0x4000) {
        if ((record.st_mode & 0xC0) != 0xC0)
            setPermission(record.st_mode | 0xC0);
        OwningVector entries;
        {
            const Path prefix = Path(*this).addTrailingSeparator();
            DirectoryIterator listing(*this);
            String name;
            while (listing.next(name))
                entries.addElement(new Path(prefix + name));
        }
        for (int i = 0; i < entries.size(); ++i)
            static_cast<Path*>(entries.elementAt(i))->remove();
        if (_rmdir(c_str()) != 0)
            fail("remove directory failure");
    } else {
        if (!(record.st_mode & 0x80))
            setPermission(record.st_mode | 0x80);
        if (::remove(c_str()) != 0)
            fail("remove file failure");
    }
}

namespace {

// The home directory once read (constant-initialized: no start-up code, no guard).
String home;

// Steps shared by rename and copy: into an existing directory under the own file name;
// an existing file made writable so that it can be replaced.
Path replaceableTarget(const Path& source, const Path& target)
{
    Path adjusted = target;
    if (adjusted.isDirectory())
        adjusted = adjusted + source.fileName();
    if (adjusted.isFile())
        adjusted.setPermission(0x1C0);
    return adjusted;
}

} // namespace

void Path::renameTo(const Path& target) const
{
    const Path adjusted = replaceableTarget(*this, target);
    if (::rename(c_str(), adjusted.c_str()) == 0)
        return;
    if (errno == EEXIST && ::remove(adjusted.c_str()) == 0) {
        errno = 0;
        if (::rename(c_str(), adjusted.c_str()) == 0)
            return;
    }
    if (errno != EXDEV)
        fail("cannot rename to " + target);
    copyTo(target);
    remove();
}

void Path::copyTo(const Path& target) const
{
    // The source is opened first, so that a copy that cannot start leaves the target as
    // it is instead of truncating it and then removing it.
    std::FILE* in = std::fopen(c_str(), "rb");
    if (!in)
        fail("cannot copy from " + *this);
    Path adjusted;
    try {
        adjusted = replaceableTarget(*this, target);
    } catch (...) {
        std::fclose(in);
        throw;
    }
    std::FILE* out = std::fopen(adjusted.c_str(), "wb");
    bool ok = out != nullptr;
    int error = errno;
    if (ok) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            if (std::fwrite(buffer, 1, n, out) != n) {
                ok = false;
                break;
            }
        }
        if (ok && (std::ferror(in) || std::ferror(out)))
            ok = false;
        error = errno;
        // Buffered bytes reach the disk only now: a failure here is a failed copy too.
        if (std::fclose(out) != 0 && ok) {
            ok = false;
            error = errno;
        }
    }
    std::fclose(in);
    if (!ok) {
        if (out)
            ::remove(adjusted.c_str());
        errno = error;
        fail("cannot copy to " + target);
    }
    struct _stat record;
    if (status(&record)) {
        adjusted.setModificationTime(record.st_mtime);
        adjusted.setPermission(record.st_mode);
    }
}

Path Path::currentDirectory()
{
    char buffer[256];
    if (!_getcwd(buffer, sizeof buffer))
        throw Exception(String("get current directory failure"));
    return Path(buffer).addTrailingSeparator();
}

Path Path::tempDirectory()
{
    return Path(tempFolderPath()).addTrailingSeparator();
}

String Path::homeDirectory()
{
    if (home.isEmpty())
        home = std::getenv("HOME");
    return home;
}
