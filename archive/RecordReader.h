// RecordReader: the payload's lines and four-line records, read from the top stream layer.
// Knows nothing of files or windows, so that it can read a payload held in memory.
#pragma once

#include "archive/InputStream.h"
#include "foundation/String.h"

#include <ctime>

class RecordReader {
public:
    // The source is not owned and must outlive the reader.
    explicit RecordReader(InputStream* source) : source_(source) {}

    // The bytes up to the next line feed (not included; NUL bytes dropped). False when the
    // stream ended first.
    bool readLine(String& line);
    // The magic line "qxa-archive" and three more. False for a wrong magic or a line cut
    // by the end of the data.
    bool readRecord(String& first, String& second, String& third);
    // The header record's entry count (its second line, decimal). False as readRecord.
    bool readHeader(int& count);
    // An entry's record: its name, the size of its data and its time (seconds since 1970),
    // the numbers read as decimal text. False as readRecord (the values are then not to
    // be used).
    bool readEntry(String& name, int& size, time_t& time);

    // Whether an entry may be written: a name that stays inside the folder and a size that
    // is not negative. Anything else makes the payload count as damaged.
    static bool isValidEntry(const String& name, int size) { return size >= 0 && staysInside(name); }
    // An entry's data is read in chunks of this size, the last one shorter: the extraction
    // and the decoder thread (which decodes ahead with the very same reads) rely on it.
    static constexpr int32_t chunkSize = 4096;

    // Whether an entry name stays inside the folder it is appended to: relative, no drive,
    // stream or device colon, and no component of only dots and blanks (Windows drops a
    // component's trailing dots and blanks, so ".. " and "..." can mean "..").
    static bool staysInside(const String& name);

private:
    InputStream* source_;
};
