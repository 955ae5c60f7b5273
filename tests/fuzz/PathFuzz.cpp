// Fuzz target: Path's text operations. The input holds two paths split at the first NUL
// byte; comparison must be antisymmetric and agree with equals, component iteration must
// advance and end, and the resolved form must be absolute and carry no "." or ".."
// component (but a server of that name).
#include "foundation/Path.h"

#include <cstdlib>
#include <string>

namespace {

Path current()
{
    return Path("C:\\work\\dir\\");
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool folding = (Path::buildFoldingTable(), true);
    (void)folding;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t nul = text.find('\0');
    const Path a(text.substr(0, nul).c_str());
    const Path b(nul == std::string::npos ? "" : text.substr(nul + 1).c_str());

    check(sign(a.compareTo(b)) == -sign(b.compareTo(a)));
    check(a.equals(b) == (a.compareTo(b) == 0));
    check(a.compareTo(a) == 0);

    Path::Component record;
    int count = 0;
    for (int position = 0; a.nextComponent(record); position = record.position) {
        check(record.position > position && record.position <= a.length());
        check(record.kind >= Path::Server && record.kind <= Path::Leaf);
        ++count;
    }
    check(record.position == 0 && count <= a.length());

    String directory, base, extension;
    a.split(&directory, &base, &extension);
    check(directory.length() + base.length() + extension.length() == a.length());
    a.fileName();
    a.directory();

    const Path resolved = a.resolved(current);
    check(resolved.isAbsolute());
    Path::Component part;
    while (resolved.nextComponent(part))
        check(part.kind == Path::Server
              || (part.component.compareTo(".") != 0 && part.component.compareTo("..") != 0));
    return 0;
}
