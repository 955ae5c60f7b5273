// String: a counted byte string whose characters live in shared, reference-counted blocks.
#pragma once

#include "foundation/Object.h"

// A value is a window (data, length) on a block's characters. Copies and substrings share
// the block; a string may grow in place into the free room behind its window. Embedded NUL
// bytes are allowed. Not thread-safe: reference counts are plain integers.
class String : public Object {
public:
    // Constant: a String with static storage is empty before any start-up code runs.
    constexpr String() : length_(0), block_(&empty_), data_(empty_.chars) {}
    String(const char* s);              // a null s gives the empty string
    String(const char* s, int n);       // exactly n bytes, NULs included
    explicit String(char c);
    String(const String& other);
    ~String() override;

    String& operator=(const String& other);
    String& operator=(const char* s);

    static String valueOf(int value);
    static String valueOf(unsigned value);
    static String valueOf(unsigned long value);
    static String toHexString(long value);

    int length() const { return length_; }
    bool isEmpty() const { return length_ == 0; }
    // The byte at index (0 <= index < length; not checked).
    char charAt(int index) const { return data_[index]; }

    // NUL-terminated characters. May move this value to a private block when the byte
    // behind its window belongs to another value; the characters stay the same.
    const char* c_str() const;

    Kind kind() const override { return StringKind; }
    bool equals(const Object& other) const override;
    uint32_t hashCode() const override;
    String toString() const override;
    // Unsigned byte-wise order; on a common prefix, the difference of the lengths.
    virtual int compareTo(const String& other) const;
    // 0 exactly when s holds the same characters and no more.
    int compareTo(const char* s) const;

    int indexOf(char c, int from = 0) const;
    int indexOf(const String& s, int from = 0) const;
    int lastIndexOf(char c, int from) const;
    int lastIndexOf(char c) const { return lastIndexOf(c, length_ - 1); }

    // A window on the same block; the caller keeps 0 <= begin <= end <= length.
    String substring(int begin, int end) const;
    String substring(int begin) const { return substring(begin, length_); }

    String concat(const String& other) const;
    String& append(const String& other);
    String& append(const char* s);
    String& operator+=(const String& other) { return append(other); }
    String& operator+=(const char* s) { return append(s); }

    String replace(char from, char to) const;
    String toLowerCase() const;
    // Without leading and trailing blanks: the bytes 0 to 32 (space and the control
    // characters). Bytes from 0x80 up are kept, whatever the code page makes of them.
    String trim() const;

private:
    // The header of a block, followed by its character area of capacity + 4 bytes.
    // `used` is the offset just behind the furthest window written into the block: room
    // behind a window is free only when the window ends there. (A NUL behind the window
    // cannot tell that on its own once strings may hold NUL bytes.)
    struct Block {
        int refs;
        int capacity;
        int used;
        char chars[4];
    };

    static Block* newBlock(int required);
    static void release(Block* block);
    void share(const String& other);
    bool hasRoomFor(int added) const;
    void markUsed() const;
    // Makes room for `added` bytes behind the window and grows length. Returns the block
    // the characters left (to be released once the caller has copied its bytes) or null.
    Block* extend(int added);
    String& appendBytes(const char* s, int n);

    static Block empty_;

    int length_;
    // c_str() may move a value to a private block; the characters it holds stay the same.
    mutable Block* block_;
    mutable char* data_;
};

String operator+(const String& a, const String& b);
String operator+(const String& a, const char* b);
String operator+(const char* a, const String& b);
