// LzmaFormat: the layout of an LZMA payload, shared by setup.exe, which reads it, and the
// host's payload builder, which writes it. Plain C++ without Windows headers, so that both
// compilers can read it.
#pragma once

#include <cstddef>
#include <cstdint>

// After the TEA layer, an LZMA payload is: the 4 bytes "LZMA"; the 5 bytes of the LZMA
// properties (lc/lp/pb, then the dictionary size, little-endian); the size of the decoded
// archive and its CRC-32 (the one of zip and PNG), 4 bytes each, little-endian; then the
// raw LZMA stream of exactly that many decoded bytes, without an end mark. A bzip2 payload
// begins with bzip2's own "BZh", so the first bytes tell the codec, and payloads made
// before LZMA existed read as they always did.
namespace lzmaFormat {

inline constexpr unsigned char magic[4] = {'L', 'Z', 'M', 'A'};
inline constexpr int propertiesSize = 5;
inline constexpr int headerSize = 4 + propertiesSize + 4 + 4;

// The builder's dictionary, and the largest one the reader accepts: the reader's memory is
// the dictionary (no more than the decoded size) plus 16 KiB of probabilities. 6 MiB: the
// encoder writes a dictionary size as 2^n or 3 * 2^n, rounding others up, and 8 MiB would
// take the install's added memory past 8 MiB.
inline constexpr uint32_t dictionarySize = 6u << 20;

// The tables of the reflected CRC-32 polynomial 0xEDB88320 for four bytes at a time
// ("slicing by 4"): table[0] is the classic one, table[k][b] the CRC of b followed by k
// zero bytes.
inline void crcTable(uint32_t table[4][256])
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (int k = 1; k < 4; ++k)
            table[k][i] = table[0][table[k - 1][i] & 0xFF] ^ (table[k - 1][i] >> 8);
}

// The CRC-32 of bytes continued from crc (0 for the first bytes). Four bytes a step: a
// third of the byte-wise loop's time, which next to the decoder was not small.
inline uint32_t crcUpdate(const uint32_t table[4][256], uint32_t crc, const unsigned char* bytes, size_t length)
{
    crc = ~crc;
    for (; length >= 4; bytes += 4, length -= 4) {
        crc ^= uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
        crc = table[3][crc & 0xFF] ^ table[2][(crc >> 8) & 0xFF] ^ table[1][(crc >> 16) & 0xFF] ^ table[0][crc >> 24];
    }
    for (; length > 0; ++bytes, --length)
        crc = table[0][(crc ^ *bytes) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

inline uint32_t loadLittleEndian(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace lzmaFormat
