// Tests of TeaDecipher: the TEA block decipher and the 1024-byte refills.
#include "TestStreams.h"

#include "archive/TeaKey.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void storeWords(uint32_t y, uint32_t z, unsigned char block[8])
{
    for (int i = 0; i < 4; ++i) {
        block[i] = static_cast<unsigned char>(y >> (8 * i));
        block[4 + i] = static_cast<unsigned char>(z >> (8 * i));
    }
}

// The standard TEA encipher, to check the decipher against data the test makes itself.
void encipher(const uint32_t k[4], unsigned char block[8])
{
    uint32_t y = 0, z = 0, sum = 0;
    for (int i = 3; i >= 0; --i) {
        y = y << 8 | block[i];
        z = z << 8 | block[4 + i];
    }
    for (int round = 0; round < 32; ++round) {
        sum += 0x9E3779B9;
        y += ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
        z += ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
    }
    storeWords(y, z, block);
}

const uint32_t* payloadKey()
{
    static uint32_t key[4];
    for (int i = 0; i < 4; ++i)
        key[i] = uint32_t(teaKey[4 * i]) | uint32_t(teaKey[4 * i + 1]) << 8 |
                 uint32_t(teaKey[4 * i + 2]) << 16 | uint32_t(teaKey[4 * i + 3]) << 24;
    return key;
}

} // namespace

// Published TEA vectors (key words, plaintext words, ciphertext words).
TEST(TeaDecipher, DeciphersThePublishedTestVectors)
{
    struct Vector {
        uint32_t key[4];
        uint32_t plain[2];
        uint32_t cipher[2];
    };
    const Vector vectors[] = {
        {{0, 0, 0, 0}, {0, 0}, {0x41EA3A0A, 0x94BAA940}},
        {{0, 0, 0, 0}, {0x01020304, 0x05060708}, {0x6A2F9CF3, 0xFCCF3C55}},
        {{0x01234567, 0x12345678, 0x23456789, 0x3456789A}, {0, 0}, {0x34E943B0, 0x900F5DCB}},
        {{0x01234567, 0x12345678, 0x23456789, 0x3456789A}, {0x01020304, 0x05060708}, {0x773DC179, 0x878A81C0}},
    };
    for (const Vector& v : vectors) {
        unsigned char block[8], plain[8];
        storeWords(v.cipher[0], v.cipher[1], block);
        storeWords(v.plain[0], v.plain[1], plain);
        TeaDecipher::decipherBlock(v.key, block);
        EXPECT_EQ(std::memcmp(block, plain, 8), 0) << "ciphertext " << std::hex << v.cipher[0] << " " << v.cipher[1];
    }
}

TEST(TeaDecipher, EightByteResourceIsOneBlock)
{
    InputResource resource(raw8);
    TeaDecipher decipher(&resource);
    const std::string plain = readAll(decipher);
    ASSERT_EQ(plain.size(), 8u) << "the ninth read gives -1";
    EXPECT_EQ(decipher.read(), -1);

    unsigned char block[8];
    std::memcpy(block, plain.data(), 8);
    encipher(payloadKey(), block);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 8), "01234567")
        << "the block enciphers back to the resource under the key of TeaKey.h";
}

TEST(TeaDecipher, RefillsInStepsOf1024Bytes)
{
    {
        InputResource resource(raw663120);
        CountingSource counter(&resource);
        TeaDecipher decipher(&counter);
        EXPECT_EQ(readAll(decipher).size(), 663120u);
        ASSERT_EQ(counter.results.size(), 649u) << "648 refills and the read that finds the end";
        for (size_t i = 0; i < 647; ++i)
            ASSERT_EQ(counter.results[i], 1024) << "refill " << i;
        EXPECT_EQ(counter.results[647], 592);
        EXPECT_EQ(counter.results[648], -1);
    }
    {
        InputResource resource(raw2048);
        CountingSource counter(&resource);
        TeaDecipher decipher(&counter);
        unsigned char buffer[4096];
        EXPECT_EQ(decipher.read(buffer, 4096), 2048);
        EXPECT_EQ(decipher.read(buffer, 1), -1);
        EXPECT_EQ(counter.results, (std::vector<int32_t>{1024, 1024, -1, -1}));
    }
}

// A trailing fragment of fewer than 8 bytes cannot be deciphered: it ends the stream
// instead of handing out stale bytes.
TEST(TeaDecipher, TrailingFragmentEndsTheStream)
{
    MemorySource twelve(std::string("ABCDEFGHIJKL"));
    TeaDecipher decipher(&twelve);
    EXPECT_EQ(readAll(decipher).size(), 8u);
    MemorySource five(std::string("ABCDE"));
    TeaDecipher fragment(&five);
    EXPECT_EQ(fragment.read(), -1);
    unsigned char buffer[4];
    EXPECT_EQ(fragment.read(buffer, 0), 0) << "a read of 0 bytes takes nothing";
}

// Block reads of any size hand out the bytes of the single-byte reads, with the same
// 1024-byte refills, across refill boundaries and the pairs of blocks deciphered together.
TEST(TeaDecipher, BlockReadsMatchSingleByteReads)
{
    // Each block of the resource deciphered on its own.
    InputResource raw(raw663120);
    std::string expected = readAll(raw);
    for (size_t at = 0; at + 8 <= expected.size(); at += 8)
        TeaDecipher::decipherBlock(payloadKey(), reinterpret_cast<unsigned char*>(&expected[at]));
    InputResource bytewiseResource(raw663120);
    TeaDecipher bytewise(&bytewiseResource);
    EXPECT_TRUE(readAll(bytewise) == expected) << "single-byte reads";
    for (int32_t chunk : {1, 7, 1000, 1024, 1500, 4096, 700000}) {
        InputResource resource(raw663120);
        CountingSource counter(&resource);
        TeaDecipher decipher(&counter);
        std::string bytes;
        std::vector<unsigned char> buffer(chunk);
        for (int32_t n; (n = decipher.read(buffer.data(), chunk)) != -1;) {
            ASSERT_GT(n, 0) << "chunk " << chunk;
            bytes.append(reinterpret_cast<char*>(buffer.data()), n);
        }
        EXPECT_TRUE(bytes == expected) << "chunk " << chunk;
        ASSERT_GE(counter.results.size(), 649u) << "chunk " << chunk;
        EXPECT_EQ(counter.results[646], 1024) << "chunk " << chunk;
        EXPECT_EQ(counter.results[647], 592) << "chunk " << chunk << ": 648 refills, then only the end";
        EXPECT_EQ(counter.results.back(), -1) << "chunk " << chunk;
    }
}
