// ArchiveReader: the payload's records and entries, unpacked below the install folder.
#pragma once

#include "archive/DecoderThread.h"
#include "archive/ExtractionView.h"
#include "archive/InputResource.h"
#include "archive/PayloadDecode.h"
#include "archive/RecordReader.h"
#include "archive/TeaDecipher.h"
#include "foundation/Path.h"

// The payload is a run of records of four lines (each ended by a line feed): the magic
// "qxa-archive", then for the header the entry count and two unused lines, for an entry
// its path below the install folder (with '/'), its size and its time (seconds since
// 1970), followed by exactly size bytes of data.
//
// A damaged payload (a wrong magic, a line or an entry cut by the end of the data, a name
// that would leave the install folder) and a cancel end the reading: ok() becomes false,
// the last error ERROR_FILE_CORRUPT or ERROR_CANCELLED (also kept in failure()), and
// Script::Abort is thrown.
//
// The payload is decoded on a thread of its own (DecoderThread) while the entries' files
// are written on the caller's; close() or the destructor ends that thread.
class ArchiveReader {
public:
    // destination ends with a separator; it and the view must outlive the reader. Builds the
    // stream layers over resourceId (the payload is 150) and starts decoding; a missing
    // resource throws InputResource::Exception. decoding callersThread decodes on the
    // caller's thread instead, as each read needs it.
    ArchiveReader(const Path& destination, ExtractionView& view, int resourceId = 150,
                  DecoderThread::Decoding decoding = DecoderThread::ahead);
    // Closes.
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // The header record's entry count.
    int readHeader();
    // The next count entry records, each written by extractEntry; the view is polled for a
    // cancel before each. Then the payload must end, whole (PayloadDecode::whole), else it
    // is damaged.
    void extractEntries(int count);

    // RecordReader's, over the top layer.
    bool readLine(String& line);
    void readRecord(String& first, String& second, String& third);
    // The entry's file below the install folder, its data streamed in chunks of 4096 bytes,
    // with its modification time; one step of the view. A name that would leave the install
    // folder (absolute, a drive, UNC, a component of only dots and blanks such as '..', a
    // ':') is a damaged payload, refused before anything is written. An entry file that
    // cannot be created or timed throws, and so does one whose folder is, or lies below, a
    // symbolic link or junction inside the install folder (File::ExceptionCreate, nothing
    // written); a file cut short is removed.
    void extractEntry(const String& name, int size, time_t time);

    // Ends the decoding: the decoder thread stops and is joined. Nothing is read after it.
    void close();
    // The decoding's stream, for its thread and its times.
    const DecoderThread& decoder() const { return decoder_; }

    bool ok() const { return ok_; }
    // ERROR_FILE_CORRUPT or ERROR_CANCELLED after the reading ended early, else 0.
    DWORD failure() const { return failure_; }

private:
    [[noreturn]] void abort(DWORD reason);
    // Throws File::ExceptionCreate when the entry's folder is or lies below a link.
    void refuseLinkedFolder(const String& name);

    bool ok_ = true;
    DWORD failure_ = 0;
    const Path& destination_;
    ExtractionView& view_;
    InputResource resource_;
    TeaDecipher decipher_;
    PayloadDecode decode_;
    DecoderThread decoder_;
    InputStream* top_;
    RecordReader records_;
    // The folder of the entry before (its part of the name), known to be no link.
    String checkedFolder_;
};
