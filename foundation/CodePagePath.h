// codePagePath, tempFolderPath: the paths the system gives, in the program's code page.
#pragma once

#include "foundation/String.h"

#include <windows.h>

// path, as the system gives it in UTF-16, in the ANSI code page: as it is where every one
// of its characters is there; else with the short (8.3) form of each part that has a
// character the code page lacks (the other parts keep their long names) where the file
// exists and the volume keeps short names; else an empty text with the last error ERROR_NO_UNICODE_TRANSLATION (or
// ERROR_FILENAME_EXCED_RANGE when the text would not fit in MAX_PATH - 1 bytes). Never the
// text in which the system's ANSI calls put '?' or a look-alike ("Lodz" for "Łódź") for a
// character the code page lacks: that names another file, or one anybody may create.
String codePagePath(const wchar_t* path);

// The path an ANSI call gave in buffer (length characters, the buffer size characters), on
// systems without the wide calls (Windows 95, 98 and Me); empty, with the last error set,
// when the call failed, the path did not fit, or it holds a '?', which those calls put for
// a character the code page lacks and which no file name holds.
String wholeAnsiPath(const char* buffer, DWORD length, DWORD size);

// The temporary folder (GetTempPath) in the code page, with its trailing separator; empty,
// with the last error set, when the system gives none or no form of it fits.
String tempFolderPath();
