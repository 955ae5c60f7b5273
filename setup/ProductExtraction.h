// ProductExtraction: the install's file work, in the order the install relies on.
#pragma once

#include "archive/ArchiveReader.h"
#include "foundation/Path.h"

// The product's standard folders, the removal of an earlier install's files, the payload's
// entries, the compiler wrappers of the chosen families and the copy of the running setup
// program as the uninstaller, each step reported to the view. Failures of a folder, a
// removal or a copy are shown through the view as they happen and the extraction goes on.
class ProductExtraction {
public:
    enum Family { Borland, Gnu, Microsoft, Microtec, Tasking };

    // compilerFlags: five flags in the order of Family. programFolder is where the setup
    // program was started, destination the install folder (ending with a separator); both
    // must outlive the extraction, as must the view. Builds the payload's reader over
    // resourceId; a missing resource throws InputResource::Exception.
    ProductExtraction(const Path& programFolder, const Path& destination, const bool* compilerFlags,
                      ExtractionView& view, int resourceId = 150);

    // The whole extraction, once. False after a damaged or cut payload or a cancel (last
    // error ERROR_FILE_CORRUPT or ERROR_CANCELLED, nothing shown, nothing after it done)
    // and otherwise the result of the uninstaller copy. An entry file that cannot be created
    // or timed and bad bzip2 data throw.
    bool run();

    // The steps. createFolder replaces a file of the folder's name; removeMatching removes
    // every match of a pattern below the install folder (a folder with its contents);
    // installWrapper copies bin/trqc.exe as bin/<name>.exe- when selected, else only steps;
    // copyInto copies source (relative: the install folder's, just extracted, or where the
    // product has none, the one beside the setup program) to the install folder as
    // targetName.
    void createFolder(const char* name);
    void removeMatching(const char* pattern);
    void installWrapper(const char* name, bool selected);
    void copyInto(const String& source, const String& targetName);

    bool ok() const { return ok_; }

private:
    // lastErrorMessage(context), with the error icon.
    void showLastError(const String& context);

    bool ok_ = true;
    const Path& programFolder_;
    const Path& destination_;
    const bool* compilerFlags_;
    ExtractionView& view_;
    ArchiveReader reader_;
};
