// Tests of the system metrics wrapper's failure.
#include "host/SystemMetrics.h"

#include "foundation/ExceptionWin.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(SystemMetrics, SystemParametersInfoGivesTheMetricOrThrows)
{
    RECT area = {};
    EXPECT_NE(systemParametersInfo(SPI_GETWORKAREA, 0, &area, 0), 0);
    EXPECT_GT(area.right - area.left, 0);
    try {
        systemParametersInfo(0xFFFF, 0, nullptr, 0);
        ADD_FAILURE() << "an unknown action is to throw";
    } catch (const Win::Exception& e) {
        EXPECT_EQ(e.message().indexOf(String("Win error: SystemParametersInfo failure")), 0) << e.message().c_str();
    }
}
