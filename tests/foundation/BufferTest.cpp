// Tests of Buffer growth.
#include "foundation/Buffer.h"

#include <gtest/gtest.h>

#include <string>

TEST(Buffer, GrowsAtTheExactFillBoundary)
{
    Buffer buffer(1);
    EXPECT_EQ(buffer.capacity(), 16);
    buffer.append("0123456789abcde");
    EXPECT_EQ(buffer.capacity(), 16) << "15 bytes leave room";
    buffer.append("f");
    EXPECT_EQ(buffer.capacity(), 32) << "filling it exactly grows it";
    EXPECT_EQ(std::string(buffer.bytes(), buffer.length()), "0123456789abcdef");
}

TEST(Buffer, LargeAppendsAndSources)
{
    Buffer buffer(0);
    EXPECT_EQ(buffer.capacity(), 0);
    const std::string big(100, 'x');
    buffer.append(big.c_str());
    EXPECT_EQ(buffer.capacity(), 112) << "the next multiple of 16 above 100";
    buffer.append(String("yz"));
    buffer.append("0123456789", 3, 4u);
    EXPECT_EQ(std::string(buffer.bytes(), buffer.length()), big + "yz3456");
}
