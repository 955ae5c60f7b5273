// Path: folding, comparison, components and the text operations, none of which touches
// the file system.
#include "foundation/Path.h"

#include "foundation/Buffer.h"
#include "foundation/PathText.h"
#include "foundation/Stack.h"

#include <cctype>

using namespace pathText;

char Path::foldingTable_[256];

namespace {

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
    foldingTable_[static_cast<unsigned char>('\\')] = '/';
}

bool Path::equals(const Object& other) const
{
    return other.kind() == StringKind && compareTo(static_cast<const String&>(other)) == 0;
}

uint32_t Path::hashCode() const
{
    Buffer folded(length());
    for (int i = 0; i < length(); ++i) {
        const char c = fold(charAt(i));
        folded.append(&c, 0, 1);
    }
    return String(folded.bytes(), folded.length()).hashCode();
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
    // A server named "." or ".." stays a server (a device-namespace start): as a
    // directory, absolutePath would drop it and give a relative path.
    if (record.kind != Server && (record.component.compareTo(".") == 0 || record.component.compareTo("..") == 0))
        record.kind = Directory;
    return true;
}

Path Path::resolved(Path (*currentDirectory)()) const
{
    const Path current = isAbsolute() ? Path() : currentDirectory();
    const Path path = current + *this;

    ComponentStack stack(10);
    Component record;
    while (path.nextComponent(record)) {
        if (record.kind != Server && record.component.compareTo(".") == 0)
            continue;
        if (record.kind != Server && record.component.compareTo("..") == 0) {
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
    return result;
}

Path operator+(const Path& a, const String& b)
{
    return Path(a.concat(b));
}

Path operator+(const Path& a, const char* b)
{
    return Path(a.concat(String(b)));
}
