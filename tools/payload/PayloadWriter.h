// PayloadWriter: writes archive records as setup.exe's payload: one bzip2 stream, or an
// LZMA payload (archive/LzmaFormat.h), enciphered with TEA block by block (ECB) under the
// key of archive/TeaKey.h and padded with zero bytes to a multiple of 8.
#pragma once

#include <bzlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class PayloadWriter {
public:
    enum class Codec { bzip2, lzma };

    // Writes to file, which stays the caller's: bzip2 in blocks of blockSize100k times
    // 100 kB (tests make many blocks of little data); LZMA with the dictionary of
    // lzmaFormat::dictionarySize, the whole archive held in memory until finish() (the LZMA
    // header carries its size and CRC). Throws std::runtime_error on failure.
    explicit PayloadWriter(std::FILE* file, Codec codec = Codec::bzip2, int blockSize100k = 9);
    ~PayloadWriter();
    PayloadWriter(const PayloadWriter&) = delete;
    PayloadWriter& operator=(const PayloadWriter&) = delete;

    // A record: the magic line "qxa-archive", then the three lines given.
    void record(const std::string& second, const std::string& third, const std::string& fourth);
    void write(const void* bytes, size_t length);
    // Ends the bzip2 stream (or compresses the LZMA payload) and writes the last, padded
    // block.
    void finish();

    // The standard TEA encipher of one block in place: two words, little-endian.
    static void encipherBlock(const uint32_t key[4], unsigned char block[8]);

private:
    void compress(int action);
    void compressLzma();
    void encipher(const char* bytes, size_t length);

    std::FILE* file_;
    Codec codec_;
    std::vector<unsigned char> archive_; // LZMA: the archive's bytes until finish()
    bz_stream stream_;
    uint32_t key_[4];
    unsigned char block_[8];
    size_t blockLength_ = 0;
};
