// RecordReader: the payload's lines and four-line records, read from the top stream layer.
// Knows nothing of files or windows, so that it can read a payload held in memory.
#pragma once

#include "archive/InputStream.h"
#include "foundation/String.h"

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

    // Whether an entry name stays inside the folder it is appended to: relative, no drive,
    // stream or device colon, and no component of only dots and blanks (Windows drops a
    // component's trailing dots and blanks, so ".. " and "..." can mean "..").
    static bool staysInside(const String& name);

private:
    InputStream* source_;
};
