// getLongPathName, expandShortPathEntries: the long forms of 8.3 names.
#pragma once

// The long form of shortPath in buffer: GetLongPathNameA's result when the system has it
// (0 on failure), else longPathNameByComponents.
int getLongPathName(const char* shortPath, char* buffer, int size);

// The long form built component by component with FindFirstFileA, for systems without
// GetLongPathNameA: '/' becomes '\\'; each component that exists and either names itself
// in another letter case or holds '~' (a short name) takes the name stored on disk; every
// other component (a drive, a missing name) stays as written. As GetLongPathNameA: when the
// long form fits in size - 1 characters, writes it and returns its length (non-zero for a
// non-empty path); else writes only a terminator (where size allows one) and returns the
// size it needs, terminator included, so that no caller takes a cut name for the long one.
int longPathNameByComponents(const char* shortPath, char* buffer, int size);

// Rewrites the ';'-separated path list in the environment variable name of this process:
// each entry holding '~' whose long form is known is replaced by it; other entries,
// empty ones included, stay. Nothing happens when the variable is not set.
void expandShortPathEntries(const char* name);
