// The text helpers that Path's text and file-system operations share: separators found
// through the folding table.
#pragma once

#include "foundation/Path.h"

namespace pathText {

// The folded byte at index, 0 past the end.
inline char foldedAt(const String& s, int index)
{
    return index < s.length() ? Path::fold(s.charAt(index)) : '\0';
}

inline bool isSeparator(const String& s, int index)
{
    return foldedAt(s, index) == '/';
}

inline int separatorRun(const String& s, int from)
{
    int end = from;
    while (isSeparator(s, end))
        ++end;
    return end - from;
}

// The next separator at or after from, or the length.
inline int nextSeparator(const String& s, int from)
{
    while (from < s.length() && !isSeparator(s, from))
        ++from;
    return from;
}

// The last separator or ':', -1 when there is none.
inline int lastDirectoryEnd(const String& s)
{
    for (int i = s.length() - 1; i >= 0; --i) {
        if (isSeparator(s, i) || s.charAt(i) == ':')
            return i;
    }
    return -1;
}

inline bool isRootSeparator(const String& s)
{
    return s.length() == 1 && isSeparator(s, 0);
}

} // namespace pathText
