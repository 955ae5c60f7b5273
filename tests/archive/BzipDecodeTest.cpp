// Tests of BzipDecode: the end of the stream, short and corrupt sources, mixed read forms;
// the ends and read forms also of LzmaDecode, through the payload's decode layer.
#include "TestStreams.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

TEST(BzipDecode, GarbageGivesDataErrorMagic)
{
    InputResource resource(raw663120);
    TeaDecipher decipher(&resource);
    BzipDecode decode(&decipher);
    errno = 0;
    try {
        decode.read();
        FAIL() << "garbage was decoded";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.title(), "BzipDecode error");
        const String expected = String("bzDecompress=-5: ") + std::strerror(errno);
        EXPECT_STREQ(e.text().c_str(), expected.c_str());
    }
}

TEST(BzipDecode, StreamCutShortGivesMinusOne)
{
    PayloadStack stack(cutPayload);
    unsigned char buffer[4096];
    int32_t total = 0;
    int32_t n;
    while ((n = stack.decode.read(buffer, sizeof buffer)) > 0)
        total += n;
    EXPECT_EQ(n, -1);
    EXPECT_LT(total, 3000000) << "the cut stream cannot hold the whole file";
    EXPECT_EQ(stack.decode.read(), -1);
}

// The decoded stream of this payload is exactly 2048 bytes: one output buffer of BzipDecode.
TEST(BzipDecode, EndOnA2048ByteBoundary)
{
    for (int id : {stream2048Payload, stream2048Lzma}) {
        SCOPED_TRACE(id == stream2048Lzma ? "LZMA" : "bzip2");
        {
            PayloadStack stack(id);
            EXPECT_EQ(readAll(stack.decode).size(), 2048u);
            EXPECT_EQ(stack.decode.read(), -1) << "after the end every read gives -1";
        }
        {
            PayloadStack stack(id);
            unsigned char buffer[2048];
            EXPECT_EQ(stack.decode.read(buffer, 2048), 2048);
            EXPECT_EQ(stack.decode.read(), -1);
            EXPECT_EQ(stack.decode.read(buffer, 2048), -1);
        }
    }
}

TEST(BzipDecode, BlockReadsTakeTheBufferedBytesFirst)
{
    for (int id : {stream1024Payload, stream1024Lzma}) {
        SCOPED_TRACE(id == stream1024Lzma ? "LZMA" : "bzip2");
        PayloadStack stack(id);
        std::string lines;
        for (int i = 0; i < 5; ++i)
            lines += static_cast<char>(stack.decode.read());
        EXPECT_EQ(lines, "qxa-a");
        unsigned char buffer[2048];
        EXPECT_EQ(stack.decode.read(buffer, 0), 0) << "a read of 0 bytes before the end";
        ASSERT_EQ(stack.decode.read(buffer, 2048), 1019) << "the rest of 1024 bytes, no byte lost or counted twice";
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 6), "rchive");
        EXPECT_EQ(buffer[1018], 'a');
        EXPECT_EQ(stack.decode.read(buffer, 0), -1) << "a read of 0 bytes at the end";
        EXPECT_EQ(stack.decode.read(buffer, 10), -1);
    }
}
