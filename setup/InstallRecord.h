// InstallRecord: the list of what an install wrote into its folder, kept there for as long
// as the product is installed, by which the uninstaller knows a damaged install as its own.
#pragma once

#include "foundation/Array.h"
#include "foundation/Path.h"

class Journal;

// The record's file in folder (product::installRecordName).
Path installRecordIn(const Path& folder);

// Writes the record of the run that journal records: the files and folders the run made
// below the journal's folder, relative to it, in the order they were made. The record's
// own file is a change of the run, recorded before it is made (an earlier record is set
// aside). Throws the file layer's exceptions when it cannot be written.
void writeInstallRecord(Journal& journal);

// The paths that folder's record lists, relative to folder and in the order they were
// made, into written; false, written unchanged, when folder holds no record (no regular
// file of that name, a link, or one that does not begin with product::installRecordMagic).
// A line that could name something outside folder (a drive, a root, a "." or ".." part,
// a stream) is left out.
bool readInstallRecord(const Path& folder, Array<String>& written);
