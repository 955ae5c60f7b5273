// PayloadWriter: the record text, the bzip2 or LZMA compression and the TEA encipher.
#include "PayloadWriter.h"

#include "archive/LzmaFormat.h"
#include "archive/TeaKey.h"

#include <LzmaEnc.h>

#include <cerrno>
#include <cstdlib>
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

PayloadWriter::PayloadWriter(std::FILE* file, Codec codec, int blockSize100k) : file_(file), codec_(codec)
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
    if (codec_ == Codec::lzma) {
        const unsigned char* p = static_cast<const unsigned char*>(bytes);
        archive_.insert(archive_.end(), p, p + length);
        return;
    }
    stream_.next_in = static_cast<char*>(const_cast<void*>(bytes));
    stream_.avail_in = static_cast<unsigned>(length);
    while (stream_.avail_in > 0)
        compress(BZ_RUN);
}

void PayloadWriter::finish()
{
    if (codec_ == Codec::lzma) {
        compressLzma();
    } else {
        stream_.avail_in = 0;
        compress(BZ_FINISH);
    }
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

namespace {

void* allocate(void*, size_t size)
{
    return std::malloc(size);
}

void release(void*, void* address)
{
    std::free(address);
}

ISzAlloc allocator = {allocate, release};

} // namespace

void PayloadWriter::compressLzma()
{
    if (archive_.size() > 0xFFFFFFFFu)
        throw std::runtime_error("the archive is larger than an LZMA payload can hold (4 GiB)");
    CLzmaEncProps properties;
    LzmaEncProps_Init(&properties);
    // The strongest level (the binary-tree match finder, 64-byte words), the dictionary
    // the reader accepts, one thread: the same bytes on every run.
    properties.level = 9;
    properties.dictSize = lzmaFormat::dictionarySize;
    properties.numThreads = 1;
    properties.writeEndMark = 0;
    std::vector<unsigned char> packed(archive_.size() + archive_.size() / 3 + 1024);
    SizeT packedSize = packed.size();
    unsigned char header[lzmaFormat::headerSize];
    std::memcpy(header, lzmaFormat::magic, 4);
    SizeT propertiesSize = lzmaFormat::propertiesSize;
    const int result = LzmaEncode(packed.data(), &packedSize, archive_.data(), archive_.size(), &properties,
                                  header + 4, &propertiesSize, 0, nullptr, &allocator, &allocator);
    if (result != SZ_OK || propertiesSize != lzmaFormat::propertiesSize)
        throw std::runtime_error("LZMA compression failed: " + std::to_string(result));
    uint32_t table[4][256];
    lzmaFormat::crcTable(table);
    storeLittleEndian(static_cast<uint32_t>(archive_.size()), header + 4 + lzmaFormat::propertiesSize);
    storeLittleEndian(lzmaFormat::crcUpdate(table, 0, archive_.data(), archive_.size()),
                      header + 8 + lzmaFormat::propertiesSize);
    encipher(reinterpret_cast<const char*>(header), sizeof header);
    encipher(reinterpret_cast<const char*>(packed.data()), packedSize);
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
