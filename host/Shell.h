// Shell: shortcuts, special folders and the folder picker of the Windows shell.
#pragma once

#include "foundation/String.h"

#include <windows.h>

// Writes the shortcut linkFile (at most 255 characters) to target ('/' taken as '\\')
// with description; no arguments, working folder, icon or hot key. OLE is initialised on
// first use and stays so until releaseOle. On failure returns false with the failing
// HRESULT as the last error.
bool createShortcut(const String& target, const String& linkFile, const String& description);

// Initialises OLE for the process on first use (it stays so until releaseOle); the
// HRESULT of OleInitialize, S_OK once it succeeded.
HRESULT initializeOle();

// Undoes the OLE initialisation of createShortcut, if there was one. Called at program
// exit; calling it again does nothing.
void releaseOle();

// The file-system path of a special folder (CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, ...).
// On failure returns false and leaves folder unchanged.
bool getSpecialFolder(int csidl, String& folder, HWND owner = nullptr);

// Lets the user pick a folder in the shell's folder dialog, owned by owner and headed by
// title. True with the chosen path in folder; false, folder unchanged, on Cancel.
bool browseForFolder(HWND owner, String& folder, const char* title);
