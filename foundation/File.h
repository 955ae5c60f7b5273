// File: a binary file on a C-runtime descriptor whose failures name the file and position.
#pragma once

#include "foundation/Exception.h"
#include "foundation/String.h"

#include <ctime>

// Opened by construction, closed by close or destruction. Every failure throws a kind of
// File::Exception whose text is the name (and, for transfers, " at " and the position in
// hexadecimal), then ": " and the C library's text for errno.
class File {
public:
    class Exception : public ExceptionText {
    public:
        explicit Exception(const String& text) : ExceptionText(text) {}
    };
    class ExceptionOpen : public Exception {
    public:
        explicit ExceptionOpen(const String& text) : Exception(text) {}
        const char* title() const override { return "File open error"; }
    };
    class ExceptionCreate : public Exception {
    public:
        explicit ExceptionCreate(const String& text) : Exception(text) {}
        const char* title() const override { return "File create error"; }
    };
    class ExceptionRead : public Exception {
    public:
        explicit ExceptionRead(const String& text) : Exception(text) {}
        const char* title() const override { return "File read error"; }
    };
    class ExceptionSeek : public Exception {
    public:
        explicit ExceptionSeek(const String& text) : Exception(text) {}
        const char* title() const override { return "File seek error"; }
    };
    class ExceptionWrite : public Exception {
    public:
        explicit ExceptionWrite(const String& text) : Exception(text) {}
        const char* title() const override { return "File write error"; }
    };

    // Opens name with the C runtime's open flags in mode (_O_BINARY added unless _O_TEXT
    // is there), shared for reading and writing by others; a created file is never
    // read-only. Throws ExceptionCreate when mode holds _O_CREAT or _O_TRUNC, else
    // ExceptionOpen.
    File(const String& name, int mode);
    // Closes the file if it is open, ignoring errors.
    virtual ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Up to count bytes; 0 at the end of the file. Throws ExceptionRead.
    virtual int read(void* buffer, int count);
    // The new position; origin 0 (start), 1 (current) or 2 (end). Throws ExceptionSeek
    // naming the requested offset (the current position for an offset of -1).
    virtual int seek(long offset, int origin);
    // Writes all count bytes, however many calls that takes, and returns count. Throws
    // ExceptionWrite.
    virtual int write(const void* buffer, int count);
    // The C runtime's result; closing a closed file does nothing and gives 0.
    int close();
    // Sets the access and the modification time (seconds since 1970) through the open
    // descriptor: what Path::setModificationTime does by name, without opening the file
    // again. False, with errno set, when the system refuses or the file is closed.
    bool setModificationTime(time_t time);

    const String& name() const { return name_; }

private:
    // name + " at " + the current position in hexadecimal, errno kept as it was.
    String atCurrentPosition() const;

    int descriptor_;
    String name_;
};
