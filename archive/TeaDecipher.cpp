// TeaDecipher: refilling the deciphered buffer and the TEA block decipher.
#include "archive/TeaDecipher.h"

#include "archive/TeaKey.h"

#include <cstring>

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
    const int32_t n = refill(output_);
    if (n == -1)
        return -1;
    count_ = static_cast<uint32_t>(n);
    index_ = 1;
    return output_[0];
}

int32_t TeaDecipher::read(unsigned char* buffer, int32_t length)
{
    int32_t stored = 0;
    while (stored < length) {
        if (index_ >= count_) {
            // Room for a whole refill in the caller's buffer: decipher straight into it
            // rather than into the own buffer and copy from there.
            const bool direct = length - stored >= static_cast<int32_t>(sizeof output_);
            const int32_t n = refill(direct ? buffer + stored : output_);
            if (n == -1)
                return stored == 0 ? -1 : stored;
            if (direct) {
                stored += n;
                continue;
            }
            count_ = static_cast<uint32_t>(n);
            index_ = 0;
        }
        uint32_t n = count_ - index_;
        if (n > static_cast<uint32_t>(length - stored))
            n = static_cast<uint32_t>(length - stored);
        std::memcpy(buffer + stored, output_ + index_, n);
        index_ += n;
        stored += static_cast<int32_t>(n);
    }
    return stored;
}

int32_t TeaDecipher::refill(unsigned char* target)
{
    const int32_t n = source->read(target, sizeof output_);
    if (n == -1)
        return -1;
    // A well-formed payload is a whole number of blocks. A trailing fragment cannot be
    // deciphered, so it is dropped; the decoder above then sees a stream cut short.
    const uint32_t blocks = static_cast<uint32_t>(n) / 8;
    if (blocks == 0)
        return -1;
    uint32_t i = 0;
    for (; i + 2 <= blocks; i += 2)
        decipherTwoBlocks(key_, target + 8 * i);
    if (i < blocks)
        decipherBlock(key_, target + 8 * i);
    return static_cast<int32_t>(blocks * 8);
}

// Two blocks side by side: the rounds of one block depend on each other, so working on two
// at once lets the processor overlap them. The same arithmetic as decipherBlock.
void TeaDecipher::decipherTwoBlocks(const uint32_t key[4], unsigned char blocks[16])
{
    const uint32_t delta = 0x9E3779B9;
    const uint32_t k0 = key[0], k1 = key[1], k2 = key[2], k3 = key[3];
    uint32_t y1 = loadLittleEndian(blocks), z1 = loadLittleEndian(blocks + 4);
    uint32_t y2 = loadLittleEndian(blocks + 8), z2 = loadLittleEndian(blocks + 12);
    uint32_t sum = 0xC6EF3720;
    for (int round = 0; round < 32; ++round) {
        z1 -= ((y1 << 4) + k2) ^ (y1 + sum) ^ ((y1 >> 5) + k3);
        z2 -= ((y2 << 4) + k2) ^ (y2 + sum) ^ ((y2 >> 5) + k3);
        y1 -= ((z1 << 4) + k0) ^ (z1 + sum) ^ ((z1 >> 5) + k1);
        y2 -= ((z2 << 4) + k0) ^ (z2 + sum) ^ ((z2 >> 5) + k1);
        sum -= delta;
    }
    storeLittleEndian(y1, blocks);
    storeLittleEndian(z1, blocks + 4);
    storeLittleEndian(y2, blocks + 8);
    storeLittleEndian(z2, blocks + 12);
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
