// SearchPath: a cursor over a ';'-separated search-path list such as PATH.
#pragma once

#include "foundation/String.h"

// <windows.h> defines SearchPath as SearchPathA; it is included here once and the macro
// dropped, so that the name means this class wherever this header is seen.
#ifdef _WIN32
#include <windows.h>
#undef SearchPath
#endif

class SearchPath {
public:
    // The PATH environment variable behind ";", so that the first entry searched is the
    // empty one, the current directory. An unset PATH gives ";".
    SearchPath();
    // The list exactly as given.
    explicit SearchPath(const String& list) : list_(list) {}

    // Only moves forward; Path::findInSearchPath advances it.
    int position = 0;
    const String& list() const { return list_; }
    char separator() const { return ';'; }

private:
    String list_;
};
