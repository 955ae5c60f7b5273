// BzipDecode: driving libbzip2's decompressor over the source's bytes.
#include "archive/BzipDecode.h"

#include <cstring>

BzipDecode::BzipDecode(InputStream* source) : InputFilter(source)
{
    std::memset(&stream_, 0, sizeof stream_);
    if (BZ2_bzDecompressInit(&stream_, 0, 0) != BZ_OK)
        throw Exception("bzDecompressInit");
}

BzipDecode::~BzipDecode()
{
    close();
}

void BzipDecode::close()
{
    if (closed_)
        return;
    closed_ = true;
    BZ2_bzDecompressEnd(&stream_);
}

int32_t BzipDecode::decode(unsigned char* buffer, int32_t length)
{
    if (ended_)
        return -1;
    stream_.next_out = reinterpret_cast<char*>(buffer);
    stream_.avail_out = static_cast<unsigned>(length);
    for (;;) {
        if (stream_.avail_in == 0) {
            const int32_t n = source->read(reinterpret_cast<unsigned char*>(input_), sizeof input_);
            if (n == -1)
                return -1;
            stream_.next_in = input_;
            stream_.avail_in = static_cast<unsigned>(n);
        }
        const int result = BZ2_bzDecompress(&stream_);
        if (result == BZ_STREAM_END)
            ended_ = true;
        else if (result != BZ_OK)
            throw Exception(result);
        const int32_t produced = length - static_cast<int32_t>(stream_.avail_out);
        if (produced != 0 || ended_)
            return produced;
    }
}

int32_t BzipDecode::read()
{
    if (index_ < count_)
        return output_[index_++];
    const int32_t n = decode(output_, sizeof output_);
    if (n <= 0)
        return -1;
    count_ = static_cast<uint32_t>(n);
    index_ = 1;
    return output_[0];
}

int32_t BzipDecode::read(unsigned char* buffer, int32_t length)
{
    if (length < 0)
        length = 0;
    int32_t stored = 0;
    while (index_ < count_ && stored < length)
        buffer[stored++] = output_[index_++];
    bool atEnd = false;
    while (stored < length) {
        const int32_t n = decode(buffer + stored, length - stored);
        if (n == -1) {
            atEnd = true;
            break;
        }
        stored += n;
    }
    // Nothing left over, nothing asked for and the stream known to be over: the end.
    if (stored == 0 && (atEnd || (ended_ && index_ >= count_)))
        return -1;
    return stored;
}
