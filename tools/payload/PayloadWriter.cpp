// PayloadWriter: the record text, the bzip2 compression and the TEA encipher.
#include "PayloadWriter.h"

#include "archive/TeaKey.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

uint32_t loadLittleEndian(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void storeLittleEndian(uint32_t v, unsigned char* p)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace

PayloadWriter::PayloadWriter(std::FILE* file, int blockSize100k) : file_(file)
{
    for (int i = 0; i < 4; ++i)
        key_[i] = loadLittleEndian(teaKey + 4 * i);
    std::memset(&stream_, 0, sizeof stream_);
    // By default 9 (900 kB), as the bzip2 program's default; the decoder needs no setting.
    if (BZ2_bzCompressInit(&stream_, blockSize100k, 0, 0) != BZ_OK)
        throw std::runtime_error("bzip2 compressor cannot be initialised");
}

PayloadWriter::~PayloadWriter()
{
    BZ2_bzCompressEnd(&stream_);
}

void PayloadWriter::record(const std::string& second, const std::string& third, const std::string& fourth)
{
    const std::string text = "qxa-archive\n" + second + "\n" + third + "\n" + fourth + "\n";
    write(text.data(), text.size());
}

void PayloadWriter::write(const void* bytes, size_t length)
{
    stream_.next_in = static_cast<char*>(const_cast<void*>(bytes));
    stream_.avail_in = static_cast<unsigned>(length);
    while (stream_.avail_in > 0)
        compress(BZ_RUN);
}

void PayloadWriter::finish()
{
    stream_.avail_in = 0;
    compress(BZ_FINISH);
    if (blockLength_ > 0) {
        std::memset(block_ + blockLength_, 0, sizeof block_ - blockLength_);
        blockLength_ = sizeof block_;
        encipher(nullptr, 0);
    }
}

void PayloadWriter::compress(int action)
{
    char output[16384];
    for (;;) {
        stream_.next_out = output;
        stream_.avail_out = sizeof output;
        const int result = BZ2_bzCompress(&stream_, action);
        if (result != BZ_RUN_OK && result != BZ_FINISH_OK && result != BZ_STREAM_END)
            throw std::runtime_error("bzip2 compression failed: " + std::to_string(result));
        encipher(output, sizeof output - stream_.avail_out);
        if (action == BZ_RUN ? stream_.avail_in == 0 || stream_.avail_out != 0 : result == BZ_STREAM_END)
            return;
    }
}

void PayloadWriter::encipher(const char* bytes, size_t length)
{
    for (;;) {
        if (blockLength_ == sizeof block_) {
            encipherBlock(key_, block_);
            if (std::fwrite(block_, 1, sizeof block_, file_) != sizeof block_)
                throw std::runtime_error(std::string("cannot write the payload: ") + std::strerror(errno));
            blockLength_ = 0;
        }
        if (length == 0)
            return;
        block_[blockLength_++] = static_cast<unsigned char>(*bytes++);
        --length;
    }
}

void PayloadWriter::encipherBlock(const uint32_t key[4], unsigned char block[8])
{
    const uint32_t delta = 0x9E3779B9;
    uint32_t y = loadLittleEndian(block);
    uint32_t z = loadLittleEndian(block + 4);
    uint32_t sum = 0;
    for (int round = 0; round < 32; ++round) {
        sum += delta;
        y += ((z << 4) + key[0]) ^ (z + sum) ^ ((z >> 5) + key[1]);
        z += ((y << 4) + key[2]) ^ (y + sum) ^ ((y >> 5) + key[3]);
    }
    storeLittleEndian(y, block);
    storeLittleEndian(z, block + 4);
}
