// ProductExtraction: the install's file work, in the order the install relies on.
#pragma once

#include "archive/ArchiveReader.h"
#include "foundation/Path.h"

// The product's standard folders, the removal of an earlier install's files (only when the
// install folder holds one: holdsProductInstall), the payload's entries, the compiler
// wrappers of the chosen families and the copy of the running setup program as the
// uninstaller, each step reported to the view. Failures of a folder, a
// removal or a copy are shown through the view as they happen and the extraction goes on.
class ProductExtraction {
public:
    enum Family { Borland, Gnu, Microsoft, Microtec, Tasking };

    // compilerFlags: five flags in the order of Family. programFolder is where the setup
    // program was started, destination the install folder (ending with a separator); both
    // must outlive the extraction, as must the view. Builds the payload's reader over
    // resourceId, which starts decoding (on a thread of its own unless decoding says
    // otherwise); a missing resource throws InputResource::Exception.
    ProductExtraction(const Path& programFolder, const Path& destination, const bool* compilerFlags,
                      ExtractionView& view, int resourceId = 150,
                      DecoderThread::Decoding decoding = DecoderThread::ahead);

    // The whole extraction, once. False after a damaged or cut payload or a cancel (last
    // error ERROR_FILE_CORRUPT or ERROR_CANCELLED, nothing shown, nothing after it done),
    // false after the folders when one of them is a link (shown, last error
    // ERROR_CANT_ACCESS_FILE; nothing removed or written), and otherwise the result of the
    // uninstaller copy. An entry file that cannot be created or timed, a write that fails and
    // bad bzip2 data throw. The decoder thread has ended when it returns or throws.
    bool run();

    // The steps. createFolder replaces a file of the folder's name, and refuses a folder
    // that is a link (a symbolic link or junction) or lies below one; removeMatching removes
    // every match of a pattern below the install folder (a folder with its contents);
    // installWrapper copies bin/trqc.exe as bin/<name>.exe- when selected, else only steps;
    // copyInto copies source (relative: the install folder's, just extracted, or where the
    // product has none, the one beside the setup program) to the install folder as
    // targetName; a failure names the source and its error.
    void createFolder(const char* name);
    void removeMatching(const char* pattern);
    void installWrapper(const char* name, bool selected);
    void copyInto(const String& source, const String& targetName);

    bool ok() const { return ok_; }
    const ArchiveReader& reader() const { return reader_; }

private:
    // lastErrorMessage(context), with the error icon.
    void showLastError(const String& context);

    bool ok_ = true;
    // A standard folder, or a folder on its way, is a symbolic link or junction.
    bool linkFound_ = false;
    const Path& programFolder_;
    const Path& destination_;
    const bool* compilerFlags_;
    ExtractionView& view_;
    ArchiveReader reader_;
};
