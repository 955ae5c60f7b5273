// Path: folding, comparison, text operations and file-system operations.
#include "foundation/Path.h"

#include "foundation/DirectoryIterator.h"
#include "foundation/OwningVector.h"
#include "foundation/SearchPath.h"
#include "foundation/Stack.h"

#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <io.h>
#include <string>
#include <sys/utime.h>

char Path::foldingTable_[256];

namespace {

// The folded byte at index, 0 past the end.
char foldedAt(const String& s, int index)
{
    return index < s.length() ? Path::fold(s.charAt(index)) : '\0';
}

bool isSeparator(const String& s, int index)
{
    return foldedAt(s, index) == '/';
}

int separatorRun(const String& s, int from)
{
    int end = from;
    while (isSeparator(s, end))
        ++end;
    return end - from;
}

// The next separator at or after from, or the length.
int nextSeparator(const String& s, int from)
{
    while (from < s.length() && !isSeparator(s, from))
        ++from;
    return from;
}

// The last separator or ':', -1 when there is none.
int lastDirectoryEnd(const String& s)
{
    for (int i = s.length() - 1; i >= 0; --i) {
        if (isSeparator(s, i) || s.charAt(i) == ':')
            return i;
    }
    return -1;
}

bool isRootSeparator(const String& s)
{
    return s.length() == 1 && isSeparator(s, 0);
}

// A stack that owns the component records on it.
class ComponentStack : public Stack {
public:
    using Stack::Stack;
    ~ComponentStack() override
    {
        for (int i = 0; i < size(); ++i)
            delete elementAt(i);
    }
    Path::Component& at(int index) const { return *static_cast<Path::Component*>(elementAt(index)); }
};

} // namespace

void Path::buildFoldingTable()
{
    for (int c = 0; c < 256; ++c)
        foldingTable_[c] = static_cast<char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        foldingTable_[c] = static_cast<char>(c - 'A' + 'a');
    foldingTable_['\\'] = '/';
}

bool Path::equals(const Object& other) const
{
    const String* s = dynamic_cast<const String*>(&other);
    return s && compareTo(*s) == 0;
}

uint32_t Path::hashCode() const
{
    std::string folded(c_str(), length());
    for (char& c : folded)
        c = fold(c);
    return String(folded.data(), length()).hashCode();
}

int Path::compareTo(const String& other) const
{
    const int run = separatorRun(*this, 0);
    const int otherRun = separatorRun(other, 0);
    if (run > 0 && otherRun > 0 && run != otherRun && (run == 2 || otherRun == 2))
        return String::compareTo(other);

    int i = 0;
    int j = 0;
    for (;;) {
        const char a = foldedAt(*this, i);
        const char b = foldedAt(other, j);
        if (a == '/' && b == '/') {
            i += separatorRun(*this, i);
            j += separatorRun(other, j);
            continue;
        }
        if (a != b)
            return static_cast<signed char>(a) - static_cast<signed char>(b);
        if (i >= length() && j >= other.length())
            return 0;
        ++i;
        ++j;
    }
}

bool Path::isAbsolute() const
{
    if (isSeparator(*this, 0))
        return true;
    return length() >= 2 && std::isalpha(static_cast<unsigned char>(charAt(0))) && charAt(1) == ':';
}

char Path::separatorChar() const
{
    for (int i = length() - 1; i >= 0; --i) {
        if (isSeparator(*this, i))
            return charAt(i);
    }
    return '\\';
}

Path& Path::addTrailingSeparator()
{
    if (!isEmpty() && !isSeparator(*this, length() - 1))
        append(String(separatorChar()));
    return *this;
}

void Path::split(String* directory, String* base, String* extension) const
{
    const int end = lastDirectoryEnd(*this);
    const int name = end + 1;
    int dot = lastIndexOf('.');
    if (dot <= name || dot == length() - 1)
        dot = length();
    if (directory)
        *directory = substring(0, name);
    if (base)
        *base = substring(name, dot);
    if (extension)
        *extension = substring(dot);
}

Path Path::fileName() const
{
    return substring(lastDirectoryEnd(*this) + 1);
}

Path Path::directory() const
{
    const int end = lastDirectoryEnd(*this);
    return end < 0 ? Path("./") : Path(substring(0, end + 1));
}

bool Path::nextComponent(Component& record) const
{
    if (record.position >= length()) {
        record.position = 0;
        record.kind = 0;
        record.component = Path();
        return false;
    }
    const int previous = record.position == 0 ? 0 : record.kind;
    int begin = record.position;
    int end;
    record.kind = Directory;
    if (begin == 0 && isSeparator(*this, 0)) {
        if (isSeparator(*this, 1)) {
            record.kind = Server;
            begin = 2;
            end = nextSeparator(*this, begin);
        } else {
            end = 1;
        }
    } else if (begin == 0 && length() >= 2 && charAt(1) == ':') {
        record.kind = Drive;
        end = 2;
    } else {
        end = nextSeparator(*this, begin);
        if (end == length())
            record.kind = Leaf;
        if (previous == Server)
            record.kind = Directory; // the share
    }
    record.component = substring(begin, end);
    record.position = end + separatorRun(*this, end);
    if (record.component.compareTo(".") == 0 || record.component.compareTo("..") == 0)
        record.kind = Directory;
    return true;
}

Path Path::absolutePath() const
{
    const Path current = isAbsolute() ? Path() : currentDirectory();
    const Path path = current + *this;

    ComponentStack stack(10);
    Component record;
    while (path.nextComponent(record)) {
        if (record.component.compareTo(".") == 0)
            continue;
        if (record.component.compareTo("..") == 0) {
            // '..' never climbs above a drive, a server or the root.
            if (stack.size() > 0) {
                const Component& top = stack.at(stack.size() - 1);
                if (top.kind == Directory && !isRootSeparator(top.component))
                    delete stack.pop();
            }
            continue;
        }
        stack.push(new Component(record));
    }

    Path result;
    for (int k = 0; k < stack.size(); ++k) {
        const Component& c = stack.at(k);
        if (c.kind == Server)
            result += "\\\\";
        if (k == 0 && isRootSeparator(c.component))
            result += (current.isEmpty() ? currentDirectory() : current).substring(0, 2);
        else
            result += c.component;
        if (c.kind != Leaf)
            result += "\\";
    }
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
    char buffer[256];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    return Path(String(buffer, length < sizeof buffer ? static_cast<int>(length) : 0)).addTrailingSeparator();
}

String Path::homeDirectory()
{
    static String home;
    if (home.isEmpty())
        home = std::getenv("HOME");
    return home;
}

Path operator+(const Path& a, const String& b)
{
    return Path(a.concat(b));
}

Path operator+(const Path& a, const char* b)
{
    return Path(a.concat(String(b)));
}
