// Tests of String: sharing, windows, in-place growth and the text operations.
#include "foundation/String.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

std::string bytes(const String& s)
{
    return std::string(s.c_str(), s.length());
}

} // namespace

TEST(String, NullAndEmptyConstruction)
{
    EXPECT_EQ(String(static_cast<const char*>(nullptr)).length(), 0);
    String s("abc");
    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(s.length(), 0);
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(bytes(String("a\0b", 3)), std::string("a\0b", 3));
}

TEST(String, SubstringIsAWindowUntilCStrDetachesIt)
{
    String source("abcdefg");
    const char* sourceData = source.c_str();
    EXPECT_EQ(source.substring(3, 3).length(), 0);

    String window = source.substring(2, 5);
    EXPECT_EQ(window.length(), 3);
    // The byte behind the window is 'f', owned by the source: c_str must copy.
    const char* windowData = window.c_str();
    EXPECT_STREQ(windowData, "cde");
    EXPECT_NE(windowData, sourceData + 2);
    EXPECT_STREQ(source.c_str(), "abcdefg");
    EXPECT_EQ(source.c_str(), sourceData);
}

TEST(String, CopyGrowsInPlaceAndOriginalDetaches)
{
    String a("abc");
    const char* aData = a.c_str();
    String b(a);
    b.append("x");
    // b took the free room behind 'abc' in the shared block.
    EXPECT_EQ(b.c_str(), aData);
    EXPECT_STREQ(b.c_str(), "abcx");
    EXPECT_EQ(a.length(), 3);
    const char* detached = a.c_str();
    EXPECT_NE(detached, aData);
    EXPECT_STREQ(detached, "abc");
    EXPECT_STREQ(b.c_str(), "abcx");
}

TEST(String, ConcatenatingTwiceOntoOneLeftOperand)
{
    String left("abc");
    const char* leftData = left.c_str();
    String first = left + String("def");
    String second = left + String("def");
    EXPECT_EQ(first.c_str(), leftData) << "the first result uses the room behind 'abc'";
    EXPECT_NE(second.c_str(), leftData) << "the second finds that room taken";
    EXPECT_STREQ(first.c_str(), "abcdef");
    EXPECT_STREQ(second.c_str(), "abcdef");
    EXPECT_STREQ(left.c_str(), "abc");
    EXPECT_STREQ(first.c_str(), "abcdef");
}

TEST(String, ConcatenationWithEmptySharesTheOtherOperand)
{
    String a("abc");
    const char* aData = a.c_str();
    EXPECT_EQ((String() + a).c_str(), aData);
    EXPECT_EQ((a + String()).c_str(), aData);
    EXPECT_STREQ(("x" + a + "y").c_str(), "xabcy");
}

TEST(String, RoomBehindAWindowIsNotTakenWhenTheNeighbourBeginsWithNul)
{
    String a("abc");
    String joined = a + String("\0xy", 3);
    a.append("Q");
    EXPECT_EQ(bytes(joined), std::string("abc\0xy", 6));
    EXPECT_STREQ(a.c_str(), "abcQ");
}

TEST(String, AppendToItselfAndGrowthAcrossBlocks)
{
    String s("ab");
    s.append(s);
    EXPECT_STREQ(s.c_str(), "abab");
    std::string expected;
    String grown;
    for (int i = 0; i < 3000; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        grown += String(c);
        expected += c;
    }
    EXPECT_EQ(bytes(grown), expected);
    String self(grown);
    grown.append(grown);
    EXPECT_EQ(bytes(grown), expected + expected);
    EXPECT_EQ(bytes(self), expected);
}

TEST(String, CompareToOrdersBytesUnsigned)
{
    EXPECT_LT(String("abc").compareTo(String("abd")), 0);
    EXPECT_EQ(String("ab").compareTo(String("abc")), -1);
    EXPECT_GT(String("\xe9").compareTo(String("z")), 0);
    EXPECT_LT(String("z").compareTo(String("\x80")), 0);
    EXPECT_EQ(String("abc").compareTo("abc"), 0);
    EXPECT_LT(String("abc").compareTo("abcd"), 0);
    EXPECT_GT(String("abc").compareTo("ab"), 0);
    // A NUL inside the string is a byte like any other; a high byte after the end of the
    // string makes the text the greater.
    EXPECT_GT(String("a\0b", 3).compareTo("a"), 0);
    EXPECT_LT(String("a").compareTo("a\xff"), 0);
    EXPECT_TRUE(String("abc").equals(String("abc")));
    EXPECT_FALSE(String("abc").equals(String("abcd")));
}

TEST(String, IndexOfAndLastIndexOf)
{
    String s("hello");
    EXPECT_EQ(s.indexOf('l', 10), -1);
    EXPECT_EQ(s.indexOf('l', -4), 2);
    EXPECT_EQ(s.indexOf('z'), -1);
    EXPECT_EQ(s.lastIndexOf('l', 100), 3);
    EXPECT_EQ(s.lastIndexOf('h', 0), 0);
    EXPECT_EQ(String().lastIndexOf('a', 5), -1);
    EXPECT_EQ(s.indexOf(String("lo")), 3);
    EXPECT_EQ(s.indexOf(String("lo"), 4), -1);
    EXPECT_EQ(s.indexOf(String(), 2), 2);
}

TEST(String, TrimTakesOnlySpaceAndControlBytes)
{
    const struct {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {"  a b\t", "a b"},
        {"   ", ""},
        {"\x01\x1f\x20x\r\n", "x"},
        // Letters of a code page and multi-byte characters, at either end.
        {"caf\xe9", "caf\xe9"},
        {"\xe9t\xe9 ", "\xe9t\xe9"},
        {" /Fo\xc3\xa9", "/Fo\xc3\xa9"},
        {"\x83\x5c", "\x83\x5c"},
        {"\xa0x\xa0", "\xa0x\xa0"},
        {"\x7f", "\x7f"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(String(c.text).trim().c_str(), c.trimmed) << "\"" << c.text << "\"";
    String kept("kept");
    EXPECT_EQ(kept.trim().c_str(), kept.c_str());
}

TEST(String, ReplaceAndToLowerCaseShareWhenNothingChanges)
{
    String path("a/b/c");
    EXPECT_STREQ(path.replace('/', '\\').c_str(), "a\\b\\c");
    EXPECT_STREQ(path.c_str(), "a/b/c");
    EXPECT_EQ(path.replace('x', 'y').c_str(), path.c_str());
    String lower("abc");
    EXPECT_EQ(lower.toLowerCase().c_str(), lower.c_str());
    EXPECT_STREQ(String("AbC").toLowerCase().c_str(), "abc");
}

TEST(String, HashCodeSamplesSixteenBytes)
{
    EXPECT_EQ(String().hashCode(), 0u);
    const char* text = "abcdefghijklmnopqrst";
    uint32_t expected = 0;
    for (int index : {0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13, 15, 16, 17, 19})
        expected = static_cast<unsigned char>(text[index]) + ((expected ^ (expected >> 24)) << 4);
    EXPECT_EQ(String(text).hashCode(), expected);
    // Bytes the sampling skips do not change the hash.
    EXPECT_EQ(String("abcdXfghiYklmnZpqrSt").hashCode(), expected);
}

TEST(String, NumberFormats)
{
    EXPECT_STREQ(String::valueOf(-42).c_str(), "-42");
    EXPECT_STREQ(String::valueOf(4000000000u).c_str(), "4000000000");
    EXPECT_STREQ(String::valueOf(7ul).c_str(), "7");
    EXPECT_STREQ(String::toHexString(-1).c_str(), "ffffffff");
    EXPECT_STREQ(String::toHexString(255).c_str(), "ff");
    // The ends of the ranges, where a hand-made conversion goes wrong first.
    EXPECT_STREQ(String::valueOf(0).c_str(), "0");
    EXPECT_STREQ(String::valueOf(-2147483647 - 1).c_str(), "-2147483648");
    EXPECT_STREQ(String::valueOf(2147483647).c_str(), "2147483647");
    EXPECT_STREQ(String::valueOf(4294967295u).c_str(), "4294967295");
    EXPECT_STREQ(String::toHexString(0).c_str(), "0");
    EXPECT_STREQ(String::toHexString(-2147483647L - 1).c_str(), "80000000");
}

TEST(String, ObjectToStringUsesTheVirtualHashCode)
{
    struct Fixed : Object {
        uint32_t hashCode() const override { return 0xbeef; }
    };
    EXPECT_STREQ(Fixed().toString().c_str(), "Object@beef");
}
