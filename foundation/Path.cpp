// Path: folding, comparison, text operations and file-system operations.
#include "foundation/Path.h"

char Path::foldingTable_[256];

void Path::buildFoldingTable()
{
    for (int c = 0; c < 256; ++c)
        foldingTable_[c] = static_cast<char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        foldingTable_[c] = static_cast<char>(c - 'A' + 'a');
    foldingTable_['\\'] = '/';
}
