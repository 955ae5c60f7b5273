// DirectoryList: the text of a ';'-separated list of folders (PATH, LIB, Developer Studio's
// directories), with one folder put first or taken out. How the text is read and written is
// the caller's business.
#pragma once

#include "foundation/WideText.h"

// Lists are other programs' text and are edited as UTF-16 units: every unit of an entry
// that stays is kept, whatever its script.

// list without every entry that names directory: an entry is the text between two ';' (or
// an end of the list) and names directory when it equals directory with letter case
// ignored and '/' and '\\' taken alike. An entry goes with the ';' after it or, being last
// without one, with the ';' before it; every other unit of the list stays as it was.
WideText withoutDirectory(const WideText& list, const WideText& directory);

// directory (its '/' written as '\\') and ';' followed by withoutDirectory(list, directory):
// one entry of it, first.
WideText withDirectoryFirst(const WideText& list, const WideText& directory);
