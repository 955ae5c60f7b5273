// removalRefusal: the uninstaller's look at a folder before removing it with everything in it.
#pragma once

#include "foundation/Path.h"

// Why folder must not be removed, or an empty text when it may. No folder at all (an
// empty text) is refused, as are the folders that
// protectedFolderReason names are refused; so is an existing folder without the marks of an
// install (holdsProductInstall: uninstall.exe, bin\trqc.exe and bin\coverageBrowser.exe,
// none of them a link), without the journal of an interrupted one (holdsInstallJournal) and
// without both the record its install wrote (readInstallRecord) and the uninstall entry
// naming it (uninstallEntryNames), by which a damaged install, one of whose programs was
// deleted, is still known.
// A bin folder and an uninstall.exe alone are no such marks: the
// uninstaller finds its own file wherever it runs, and many products have a bin. Any other
// path that does not exist is not refused here: its removal fails on its own.
String removalRefusal(const Path& folder);
