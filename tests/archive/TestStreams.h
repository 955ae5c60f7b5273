// Streams and helpers shared by the archive tests.
#pragma once

#include "archive/BzipDecode.h"
#include "archive/InputResource.h"
#include "archive/PayloadDecode.h"
#include "archive/TeaDecipher.h"

#include <string>
#include <vector>

// Resource ids of test_archive: the demo payload, payloads of test products (bzip2, and
// the same products with LZMA), raw data.
enum {
    demoPayload = 150,
    emptyPayload = 151,
    oneBytePayload = 152,
    stream1024Payload = 153,
    stream2048Payload = 154,
    bigPayload = 155,
    cutPayload = 156,
    manyEmptyPayload = 157,
    single20MBPayload = 158,
    raw8 = 160,
    raw2048 = 161,
    raw663120 = 162,
    emptyLzma = 163,
    oneByteLzma = 164,
    stream1024Lzma = 165,
    stream2048Lzma = 166,
    bigLzma = 167,
    manyEmptyLzma = 168,
    single20MBLzma = 169,
};

// The bytes of a string, handed out as the stream layers do.
class MemorySource : public InputStream {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    int32_t read() override
    {
        return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : -1;
    }
    using InputStream::read;

private:
    std::string bytes_;
    size_t position_ = 0;
};

// Passes block reads through and records each result.
class CountingSource : public InputStream {
public:
    explicit CountingSource(InputStream* source) : source_(source) {}
    int32_t read(unsigned char* buffer, int32_t length) override
    {
        const int32_t n = source_->read(buffer, length);
        results.push_back(n);
        return n;
    }
    int32_t read() override { return source_->read(); }

    std::vector<int32_t> results;

private:
    InputStream* source_;
};

// The three layers over one resource, built bottom-up as the archive reader builds them
// (the decode layer bzip2 or LZMA, as the payload says).
struct PayloadStack {
    explicit PayloadStack(int id) : resource(id), decipher(&resource), decode(&decipher) {}
    InputResource resource;
    TeaDecipher decipher;
    PayloadDecode decode;
};

// All bytes of a stream through single-byte reads.
inline std::string readAll(InputStream& stream)
{
    std::string bytes;
    for (int32_t c = stream.read(); c != -1; c = stream.read())
        bytes += static_cast<char>(c);
    return bytes;
}
