// Path: a String that names a file and compares the way the file system does.
#pragma once

#include "foundation/String.h"

class Path : public String {
public:
    // Builds the folding table: '\\' to '/', 'A'..'Z' to 'a'..'z', every other byte to
    // itself. Made once at start-up, before the locale is set, so that the table never
    // depends on the user's code page.
    static void buildFoldingTable();
    static char fold(char c) { return foldingTable_[static_cast<unsigned char>(c)]; }

private:
    static char foldingTable_[256];
};
