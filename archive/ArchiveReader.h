// ArchiveReader: unpacks the payload into the install folder under the "Copy Files" dialog,
// installs the compiler wrappers and copies the setup program in as the uninstaller.
#pragma once

#include "archive/BzipDecode.h"
#include "archive/InputResource.h"
#include "archive/RecordReader.h"
#include "archive/TeaDecipher.h"
#include "foundation/Path.h"
#include "ui/CopyFilesDialog.h"

// The payload is a run of records of four lines (each ended by a line feed): the magic
// "qxa-archive", then for the header the entry count and two unused lines, for an entry
// its path below the install folder (with '/'), its size and its time (seconds since
// 1970), followed by exactly size bytes of data.
class ArchiveReader {
public:
    // compilerFlags: five flags, Borland, GNU, Microsoft, Microtec, Tasking.
    // destination ends with a separator. Both paths must outlive the reader. Builds the
    // stream layers over resourceId (the payload is 150) but shows nothing yet; a missing
    // resource throws InputResource::Exception.
    ArchiveReader(const Path& programFolder, const Path& destination, const bool* compilerFlags,
                  int resourceId = 150);
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // The whole extraction, once: folders, removal of an earlier install's files, the
    // entries, the wrappers, the uninstaller. False after a corrupt or cut payload (last
    // error ERROR_FILE_CORRUPT, no message) and otherwise the result of the uninstaller
    // copy; other failures are shown as they happen. An entry file that cannot be created
    // or timed, a missing resource and bad bzip2 data throw.
    bool extract();

    // RecordReader's, over the top layer.
    bool readLine(String& line);
    // RecordReader's record. A wrong magic or a line cut by the end of the data:
    // ok false, ERROR_FILE_CORRUPT, Script::Abort thrown.
    void readRecord(String& first, String& second, String& third);
    void createFolder(const char* name);
    void removeMatching(const char* pattern);
    // A name that would leave the install folder (absolute, a drive, UNC, a component of
    // only dots and blanks such as '..', a ':') is a corrupt archive, refused before anything is written.
    void extractEntry(const String& name, int size, time_t time);
    void installWrapper(const char* name, bool selected);
    void copyInto(const String& source, const String& targetName);

    bool ok() const { return ok_; }
    CopyFilesDialog& progressDialog() { return progressDialog_; }

private:
    [[noreturn]] void corrupt();

    bool ok_;
    CopyFilesDialog progressDialog_;
    const Path& programFolder_;
    const Path& destination_;
    const bool* compilerFlags_;
    InputResource resource_;
    TeaDecipher decipher_;
    BzipDecode decode_;
    InputStream* top_;
    RecordReader records_;
};
