// Tests of the string table's texts.
#include "foundation/ResourceString.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

TEST(ResourceString, LoadStringFromTheExecutablesTable)
{
    EXPECT_STREQ(loadString(57344).c_str(), "Trelliq Setup");
    const std::string message = failureOf([] { loadString(4242); });
    EXPECT_EQ(message.find("Win error: LoadString failure on 4242"), 0u) << message;
}
