// Tests of Array: growth, removal, resizing and copies, with values that own memory.
#include "foundation/Array.h"
#include "foundation/String.h"

#include <gtest/gtest.h>

TEST(Array, GrowsKeepingItsValuesAndTakesItsOwnElement)
{
    Array<String> names;
    EXPECT_TRUE(names.isEmpty());
    for (int i = 0; i < 100; ++i)
        names.add(String("name") + String::valueOf(i));
    ASSERT_EQ(names.size(), 100);
    EXPECT_STREQ(names[0].c_str(), "name0");
    EXPECT_STREQ(names[99].c_str(), "name99");
    // Adding an element of the array itself just when the room is full must copy it
    // before the room moves.
    Array<String> full;
    for (int i = 0; i < 4; ++i)
        full.add(String::valueOf(i));
    full.add(full[2]);
    ASSERT_EQ(full.size(), 5);
    EXPECT_STREQ(full[4].c_str(), "2");
}

TEST(Array, RemoveAtShiftsAndIndexOfFindsTheFirst)
{
    Array<int> numbers;
    for (int n : {5, 7, 5, 9})
        numbers.add(n);
    EXPECT_EQ(numbers.indexOf(5), 0);
    EXPECT_EQ(numbers.indexOf(8), -1);
    numbers.removeAt(0);
    ASSERT_EQ(numbers.size(), 3);
    EXPECT_EQ(numbers[0], 7);
    EXPECT_EQ(numbers.indexOf(5), 1);
    numbers.removeAt(2);
    EXPECT_EQ(numbers.size(), 2);
    EXPECT_EQ(numbers[1], 5);
}

TEST(Array, ResizeZeroesNewBytesAndCopiesAreIndependent)
{
    Array<char> bytes(3);
    ASSERT_EQ(bytes.size(), 3);
    for (char c : bytes)
        EXPECT_EQ(c, 0);
    bytes[0] = 'x';
    bytes[2] = 'y';
    bytes.resize(1);
    bytes.resize(4);
    EXPECT_EQ(bytes[0], 'x');
    EXPECT_EQ(bytes[2], 0) << "a byte dropped and taken again is zero, not what it held";
    EXPECT_EQ(bytes[3], 0);

    const char text[] = "abc";
    Array<char> copy(text, 4);
    Array<char> other = copy;
    other[0] = 'z';
    EXPECT_STREQ(copy.data(), "abc");
    EXPECT_STREQ(other.data(), "zbc");
    const Array<char>& same = other;
    other = same;
    EXPECT_STREQ(other.data(), "zbc") << "assigned to itself";
    copy = other;
    EXPECT_STREQ(copy.data(), "zbc");
    copy.clear();
    EXPECT_TRUE(copy.isEmpty());
}
