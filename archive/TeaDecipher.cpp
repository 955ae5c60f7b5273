// TeaDecipher: refilling the deciphered buffer and the TEA block decipher.
#include "archive/TeaDecipher.h"

#include "archive/TeaKey.h"

namespace {

uint32_t loadLittleEndian(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void storeLittleEndian(uint32_t v, unsigned char* p)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

} // namespace

TeaDecipher::TeaDecipher(InputStream* source) : InputFilter(source)
{
    for (int i = 0; i < 4; ++i)
        key_[i] = loadLittleEndian(teaKey + 4 * i);
}

int32_t TeaDecipher::read()
{
    if (index_ < count_)
        return output_[index_++];
    if (refill() == -1)
        return -1;
    index_ = 1;
    return output_[0];
}

int32_t TeaDecipher::refill()
{
    unsigned char input[1024];
    const int32_t n = source->read(input, sizeof input);
    if (n == -1)
        return -1;
    // A well-formed payload is a whole number of blocks. A trailing fragment cannot be
    // deciphered, so it is dropped; the decoder above then sees a stream cut short.
    const uint32_t blocks = static_cast<uint32_t>(n) / 8;
    if (blocks == 0)
        return -1;
    for (uint32_t i = 0; i < blocks; ++i) {
        for (int j = 0; j < 8; ++j)
            output_[8 * i + j] = input[8 * i + j];
        decipherBlock(key_, output_ + 8 * i);
    }
    count_ = blocks * 8;
    return static_cast<int32_t>(count_);
}

void TeaDecipher::decipherBlock(const uint32_t key[4], unsigned char block[8])
{
    const uint32_t delta = 0x9E3779B9;
    uint32_t y = loadLittleEndian(block);
    uint32_t z = loadLittleEndian(block + 4);
    uint32_t sum = 0xC6EF3720; // 32 * delta, modulo 2^32
    for (int round = 0; round < 32; ++round) {
        z -= ((y << 4) + key[2]) ^ (y + sum) ^ ((y >> 5) + key[3]);
        y -= ((z << 4) + key[0]) ^ (z + sum) ^ ((z >> 5) + key[1]);
        sum -= delta;
    }
    storeLittleEndian(y, block);
    storeLittleEndian(z, block + 4);
}
