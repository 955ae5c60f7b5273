// Tests of command-line splitting.
#include "foundation/ArgumentList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const char* text)
{
    ArgumentList list(text);
    std::vector<std::string> arguments;
    for (int i = 0; i < list.size(); ++i)
        arguments.emplace_back(list.argument(i).c_str());
    return arguments;
}

using Args = std::vector<std::string>;

} // namespace

TEST(ArgumentList, Splitting)
{
    EXPECT_EQ(split("setup.exe  -d \"C:\\Program Files\\x\""), (Args{"setup.exe", "-d", "C:\\Program Files\\x"}));
    EXPECT_EQ(split("a \"\" b"), (Args{"a", "", "b"}));
    EXPECT_EQ(split(""), Args{});
    EXPECT_EQ(split(" \t  "), Args{});
    EXPECT_EQ(split(nullptr), Args{});
    EXPECT_EQ(split("ab\"c d\"e"), Args{"abc de"});
    EXPECT_EQ(split("\ta\t\tb "), (Args{"a", "b"}));
    EXPECT_EQ(split("x\\\"y"), (Args{"x\\y"})) << "a backslash escapes nothing";
}

TEST(ArgumentList, AnOpenQuotationAtTheEndKeepsItsArgument)
{
    EXPECT_EQ(split("setup.exe -d \"C:\\Program Files\\x"), (Args{"setup.exe", "-d", "C:\\Program Files\\x"}));
    EXPECT_EQ(split("a \""), (Args{"a", ""}));
}

TEST(ArgumentList, ArgumentOutOfRangeIsEmptyAndParseReplaces)
{
    ArgumentList list("one two");
    EXPECT_EQ(list.argument(5).length(), 0);
    EXPECT_EQ(list.argument(-1).length(), 0);
    list.parse("three");
    ASSERT_EQ(list.size(), 1);
    EXPECT_STREQ(list.argument(0).c_str(), "three");
}
