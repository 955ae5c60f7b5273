// Buffer: an append-only byte buffer for assembling text and data. Keeps no terminator.
#pragma once

#include "foundation/String.h"

class Buffer {
public:
    // The capacity is initialSize rounded up to a multiple of 16.
    explicit Buffer(int initialSize);
    ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    void append(const char* s);
    void append(const String& s);
    void append(const char* s, int offset, unsigned n);

    const char* bytes() const { return bytes_; }
    int length() const { return length_; }
    int capacity() const { return capacity_; }

private:
    int length_;
    int capacity_;
    char* bytes_;
};
