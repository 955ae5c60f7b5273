// InputStream: the root of the payload's stream layers, a source of bytes read front to end.
#pragma once

#include <cstdint>

class InputStream {
public:
    InputStream() = default;
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
    virtual ~InputStream() = default;

    // Releases what the layer holds. Only layers that hold something define it.
    virtual void close() {}

    // Stores up to length bytes into buffer and returns how many, or -1 when nothing could
    // be read because the stream is at its end. This version reads byte by byte through
    // read(). A length of 0 (or less) reads nothing and gives 0.
    virtual int32_t read(unsigned char* buffer, int32_t length);

    // The next byte as 0 to 255, or -1 at the end.
    virtual int32_t read() = 0;
};
