// String: shared blocks, windows and in-place growth.
#include "foundation/String.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// Shared by every empty string; never written, never released, refs not maintained.
String::Block String::empty_ = {0, 0, 0, {0, 0, 0, 0}};

namespace {

// Capacity of a new block for a required length n.
int capacityFor(int n)
{
    if (n <= 8)
        return n + 8;
    if (n <= 32)
        return 2 * n;
    if (n <= 1024)
        return n + 32;
    return 2 * n;
}

} // namespace

String::Block* String::newBlock(int required)
{
    const int capacity = capacityFor(required);
    void* memory = std::malloc(offsetof(Block, chars) + capacity + 4);
    if (!memory)
        throw std::bad_alloc();
    Block* block = static_cast<Block*>(memory);
    block->refs = 1;
    block->capacity = capacity;
    block->used = 0;
    block->chars[0] = '\0';
    return block;
}

void String::release(Block* block)
{
    if (block != &empty_ && --block->refs == 0)
        std::free(block);
}

String::String(const char* s, int n) : length_(0), block_(&empty_), data_(empty_.chars)
{
    if (s && n > 0)
        appendBytes(s, n);
}

String::String(const char* s) : String(s, s ? static_cast<int>(std::strlen(s)) : 0) {}

String::String(char c) : String(&c, 1) {}

String::String(const String& other) : Object(other), length_(0), block_(&empty_), data_(empty_.chars)
{
    share(other);
}

String::~String()
{
    release(block_);
}

void String::share(const String& other)
{
    if (other.block_ != &empty_)
        ++other.block_->refs;
    Block* old = block_;
    block_ = other.block_;
    data_ = other.data_;
    length_ = other.length_;
    release(old);
}

String& String::operator=(const String& other)
{
    if (this != &other)
        share(other);
    return *this;
}

String& String::operator=(const char* s)
{
    String copy(s);
    share(copy);
    return *this;
}

namespace {

// value in base 10 or 16 (lower-case digits), after a '-' when negative is set.
String digitsOf(unsigned long value, unsigned base, bool negative)
{
    char text[24];
    char* first = text + sizeof text;
    do {
        *--first = "0123456789abcdef"[value % base];
        value /= base;
    } while (value != 0);
    if (negative)
        *--first = '-';
    return String(first, static_cast<int>(text + sizeof text - first));
}

} // namespace

String String::valueOf(int value)
{
    // The magnitude taken unsigned, so that the most negative int has one too.
    const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    return digitsOf(magnitude, 10, value < 0);
}

String String::valueOf(unsigned value)
{
    return digitsOf(value, 10, false);
}

String String::valueOf(unsigned long value)
{
    return digitsOf(value, 10, false);
}

String String::toHexString(long value)
{
    return digitsOf(static_cast<unsigned long>(value), 16, false);
}

bool String::hasRoomFor(int added) const
{
    const int room = block_->capacity - static_cast<int>(data_ - block_->chars);
    if (length_ + added >= room)
        return false;
    // Offsets, not pointers: the character area runs past the declared chars[4].
    const bool windowEndsAtUsed = static_cast<int>(data_ - block_->chars) + length_ == block_->used;
    return windowEndsAtUsed || block_->refs == 1;
}

void String::markUsed() const
{
    block_->used = static_cast<int>(data_ + length_ - block_->chars);
}

String::Block* String::extend(int added)
{
    Block* left = nullptr;
    if (!hasRoomFor(added)) {
        Block* block = newBlock(length_ + added);
        std::memcpy(block->chars, data_, length_);
        left = block_;
        block_ = block;
        data_ = block->chars;
    }
    length_ += added;
    return left;
}

String& String::appendBytes(const char* s, int n)
{
    if (n <= 0)
        return *this;
    // s may point into the block being left: it is released only after the copy.
    Block* left = extend(n);
    std::memmove(data_ + length_ - n, s, n);
    data_[length_] = '\0';
    markUsed();
    if (left)
        release(left);
    return *this;
}

String& String::append(const String& other)
{
    return appendBytes(other.data_, other.length_);
}

String& String::append(const char* s)
{
    return s ? appendBytes(s, static_cast<int>(std::strlen(s))) : *this;
}

String String::concat(const String& other) const
{
    if (length_ == 0)
        return other;
    if (other.length_ == 0)
        return *this;
    String result(*this);
    result.appendBytes(other.data_, other.length_);
    return result;
}

const char* String::c_str() const
{
    if (data_[length_] == '\0')
        return data_;
    if (block_->refs == 1) {
        data_[length_] = '\0';
        markUsed();
        return data_;
    }
    Block* block = newBlock(length_);
    std::memcpy(block->chars, data_, length_);
    --block_->refs;
    block_ = block;
    data_ = block->chars;
    data_[length_] = '\0';
    markUsed();
    return data_;
}

bool String::equals(const Object& other) const
{
    if (other.kind() != StringKind)
        return false;
    const String& s = static_cast<const String&>(other);
    return s.length_ == length_ && compareTo(s) == 0;
}

uint32_t String::hashCode() const
{
    uint32_t h = 0;
    const uint32_t length = static_cast<uint32_t>(length_);
    const uint32_t step = std::max<uint32_t>(length, 16);
    uint32_t sample = 0;
    for (uint32_t b = 0; b < 16 * length; b += step, ++sample) {
        const uint32_t index = sample == 15 ? length - 1 : b / 16;
        h = static_cast<unsigned char>(data_[index]) + ((h ^ (h >> 24)) << 4);
    }
    return h;
}

String String::toString() const
{
    return *this;
}

int String::compareTo(const String& other) const
{
    const int common = std::min(length_, other.length_);
    const int order = std::memcmp(data_, other.data_, common);
    return order != 0 ? order : length_ - other.length_;
}

int String::compareTo(const char* s) const
{
    // Byte by byte, unsigned, never past the end of s: a NUL inside this string is a byte
    // like any other, and s is the shorter when it ends there.
    for (int i = 0; i < length_; ++i) {
        const unsigned char a = static_cast<unsigned char>(data_[i]);
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b == '\0')
            return 1;
        if (a != b)
            return a - b;
    }
    return -static_cast<unsigned char>(s[length_]);
}

int String::indexOf(char c, int from) const
{
    if (from >= length_)
        return -1;
    if (from < 0)
        from = 0;
    const void* found = std::memchr(data_ + from, c, length_ - from);
    return found ? static_cast<int>(static_cast<const char*>(found) - data_) : -1;
}

int String::indexOf(const String& s, int from) const
{
    if (from < 0)
        from = 0;
    for (int i = from; i + s.length_ <= length_; ++i) {
        if (std::memcmp(data_ + i, s.data_, s.length_) == 0)
            return i;
    }
    return -1;
}

int String::lastIndexOf(char c, int from) const
{
    for (int i = std::min(from, length_ - 1); i >= 0; --i) {
        if (data_[i] == c)
            return i;
    }
    return -1;
}

String String::substring(int begin, int end) const
{
    if (begin == end)
        return String();
    String window(*this);
    window.data_ += begin;
    window.length_ = end - begin;
    return window;
}

String String::replace(char from, char to) const
{
    if (indexOf(from) < 0)
        return *this;
    String result(data_, length_);
    for (int i = 0; i < result.length_; ++i) {
        if (result.data_[i] == from)
            result.data_[i] = to;
    }
    return result;
}

String String::toLowerCase() const
{
    int first = 0;
    while (first < length_
           && std::tolower(static_cast<unsigned char>(data_[first])) == static_cast<unsigned char>(data_[first]))
        ++first;
    if (first == length_)
        return *this;
    String result(data_, length_);
    for (int i = first; i < length_; ++i)
        result.data_[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(result.data_[i])));
    return result;
}

String String::trim() const
{
    // Only what is blank in every code page: a byte from 0x80 up may be a letter or part
    // of one (é in 1252, any lead or trail byte of a multi-byte character).
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    int begin = 0;
    int end = length_;
    while (begin < end && blank(data_[begin]))
        ++begin;
    while (end > begin && blank(data_[end - 1]))
        --end;
    if (begin == 0 && end == length_)
        return *this;
    return substring(begin, end);
}

String operator+(const String& a, const String& b)
{
    return a.concat(b);
}

String operator+(const String& a, const char* b)
{
    return a.concat(String(b));
}

String operator+(const char* a, const String& b)
{
    return String(a).concat(b);
}
