// The native test program's start: the one start-up setting the portable core needs.
#include "foundation/Path.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    Path::buildFoldingTable();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
