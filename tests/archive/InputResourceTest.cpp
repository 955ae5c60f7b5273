// Tests of InputResource: the module's own RT_RCDATA resources read in place.
#include "TestStreams.h"

#include "foundation/ErrorText.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(InputResource, MissingResourceNamesTheStepAndTheSystemError)
{
    try {
        InputResource resource(149);
        FAIL() << "a missing resource was opened";
    } catch (const Exception& e) {
        const String expected = String("InputResource error: FindResource: ") + errorText(ERROR_RESOURCE_NAME_NOT_FOUND);
        EXPECT_STREQ(e.message().c_str(), expected.c_str());
    }
}

TEST(InputResource, ReadsBytesThenGivesMinusOne)
{
    InputResource resource(raw8);
    ASSERT_EQ(resource.size(), 8u);
    EXPECT_EQ(resource.read(), '0');
    unsigned char buffer[16] = {};
    EXPECT_EQ(resource.read(buffer, 0), 0) << "a read of 0 bytes before the end";
    EXPECT_EQ(resource.read(buffer, 3), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), "123");
    EXPECT_EQ(resource.read(buffer, 16), 4) << "only what is left";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "4567");
    EXPECT_EQ(resource.read(buffer, 16), -1);
    EXPECT_EQ(resource.read(buffer, 0), -1) << "a read of 0 bytes at the end";
    EXPECT_EQ(resource.read(), -1);
}
