// firstLinkBelow: the reparse-point attribute, level by level.
#include "foundation/Links.h"

#include <windows.h>

namespace {

bool isSeparator(char c)
{
    return Path::fold(c) == '/';
}

} // namespace

String firstLinkBelow(const Path& folder, const String& relative)
{
    for (int end = 0; end <= relative.length(); ++end) {
        if (end < relative.length() && !isSeparator(relative.charAt(end)))
            continue;
        if (end == 0 || isSeparator(relative.charAt(end - 1)))
            continue;
        const String level = folder + relative.substring(0, end);
        const DWORD attributes = GetFileAttributesA(level.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return String();
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return level;
    }
    return String();
}
