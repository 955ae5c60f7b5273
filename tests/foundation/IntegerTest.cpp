// Tests of Integer parsing.
#include "foundation/Integer.h"

#include <gtest/gtest.h>

TEST(Integer, ParsesLikeStrtol)
{
    EXPECT_EQ(Integer(String("  -12x"), 10).value(), -12);
    EXPECT_EQ(Integer(String("ff"), 16).value(), 255);
    EXPECT_EQ(Integer(String("abc"), 10).value(), 0);
    EXPECT_TRUE(Integer(String("7"), 10).equals(Integer(7)));
    EXPECT_STREQ(Integer(String("+31"), 10).toString().c_str(), "31");
}
