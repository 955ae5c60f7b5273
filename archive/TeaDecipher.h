// TeaDecipher: the stream layer that deciphers its source with TEA, 8-byte block by block
// (ECB, no chaining), with the key of TeaKey.h.
#pragma once

#include "archive/InputFilter.h"

class TeaDecipher : public InputFilter {
public:
    explicit TeaDecipher(InputStream* source);

    int32_t read() override;
    // The same bytes as InputStream's byte-by-byte version, and the same refills, copied
    // a buffer at a time; a refill with room for it in buffer is deciphered there.
    int32_t read(unsigned char* buffer, int32_t length) override;

    // The standard TEA decipher of one block in place: two words, little-endian, under the
    // key words k[0] to k[3].
    static void decipherBlock(const uint32_t key[4], unsigned char block[8]);

private:
    // Reads up to 1024 bytes from the source into target (the own buffer, or a caller's
    // with room for all 1024) and deciphers their whole blocks in place. Returns the number
    // of deciphered bytes, or -1 at the end of the source.
    int32_t refill(unsigned char* target);
    static void decipherTwoBlocks(const uint32_t key[4], unsigned char blocks[16]);

    uint32_t key_[4];
    unsigned char output_[1024];
    uint32_t count_ = 0;
    uint32_t index_ = 0;
};
