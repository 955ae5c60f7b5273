// BatchFile: the Windows 95 form of the persistent variables: "set" lines in the product's
// batch file, which c:/autoexec.bat calls at boot while the batch file has content.
#pragma once

#include "foundation/String.h"

// The batch file is edited in a 1000-byte buffer and c:/autoexec.bat in a 10240-byte one
// (the text, the added line and a terminating NUL): an edit that would not fit fails with
// ERROR_FILE_TOO_LARGE and leaves both files as they were. A file that cannot be opened,
// read or written throws its File::Exception.
const int batchFileLimit = 1000;
const int autoexecLimit = 10240;

// Replaces the first line "set NAME=..." (letter case ignored) or appends one: "PATH" as
// set PATH=<text>%PATH%, each entry of text in its 8.3 form where it has one, "LIB" and
// "INCLUDE" as set LIB=<text>%LIB%, others as set NAME=<text>. The first line of an empty batch file also adds the call line to
// c:/autoexec.bat.
bool setBatchVariable(const char* name, const String& text);
// Deletes the first "set NAME=" line with its line break. No such line: false with
// ERROR_FILE_NOT_FOUND, nothing written. A batch file left empty also takes every call
// line out of c:/autoexec.bat.
bool removeBatchVariable(const char* name);

// Windows 95/98's start-up batch file, which holds the call line of the product's.
extern const char* const autoexecPath;
