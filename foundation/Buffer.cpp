// Buffer: growth and appending.
#include "foundation/Buffer.h"

#include <cstring>

Buffer::Buffer(int initialSize)
    : length_(0), capacity_((initialSize + 15) & ~15), bytes_(new char[capacity_])
{
}

Buffer::~Buffer()
{
    delete[] bytes_;
}

void Buffer::append(const char* s)
{
    append(s, 0, static_cast<unsigned>(std::strlen(s)));
}

void Buffer::append(const String& s)
{
    append(s.c_str(), 0, static_cast<unsigned>(s.length()));
}

void Buffer::append(const char* s, int offset, unsigned n)
{
    const int required = length_ + static_cast<int>(n);
    // Grows also when the bytes would fill the buffer exactly.
    if (required >= capacity_) {
        int capacity = capacity_ * 2;
        if (required >= capacity)
            capacity = (required + 16) & ~15;
        char* bytes = new char[capacity];
        std::memcpy(bytes, bytes_, length_);
        delete[] bytes_;
        bytes_ = bytes;
        capacity_ = capacity;
    }
    std::memcpy(bytes_ + length_, s + offset, n);
    length_ = required;
}
