// restrictLibrarySearch, loadSystemLibrary: DLLs only from the system folder.
#pragma once

#include <windows.h>

// Keeps every DLL the process loads from now on out of the program's own folder (which
// may be Downloads or a share where anyone can drop a DLL) and the current folder: the
// search goes to the system folder only (SetDefaultDllDirectories, looked up at run time
// since Windows 95, XP and Vista without its update lack it), or where that is missing,
// the current folder leaves the search (SetDllDirectoryA(""), XP SP1 and later). Then the
// libraries the system itself loads by name later (the theme library when the first window
// is made, the shell's helpers behind the folder and shortcut calls) are loaded from the
// system folder, so that those later loads find them loaded. Returns whether the search
// was restricted to the system folder.
bool restrictLibrarySearch();

// The system folder's DLL name (e.g. "version.dll"), loaded by its full path; null with the
// last error set when it is missing.
HMODULE loadSystemLibrary(const char* name);

// The address of function in the system folder's DLL library, loaded once and kept for
// the process's life; null when either is missing. Every function that a Windows we run on
// lacks (or has only as a stub) is reached here, with the older path beside each call.
FARPROC systemFunction(const char* library, const char* function);

// For test programs only: from now on systemFunction reports the functions named in names
// (a list ended by null; null itself hides none) missing, as an older Windows would, so
// that a test sees the older path taken. setup.exe never calls it.
void hideSystemFunctions(const char* const* names);

// Loads the common controls (the manifest's version 6.0 where the system redirects to it,
// else the system folder's) and registers their window classes (InitCommonControls);
// false when the library or the function is missing.
bool initCommonControls();
