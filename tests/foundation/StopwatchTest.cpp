// Tests of Stopwatch: a pause measured as long as it was, readings that never go back.
// Built for Windows and natively.
#include "foundation/Stopwatch.h"
#include "tests/foundation/Concurrently.h"

#include <gtest/gtest.h>

TEST(Stopwatch, MeasuresPausesAndNeverGoesBack)
{
    for (int milliseconds : {0, 30, 200}) {
        const Stopwatch stopwatch;
        pauseMilliseconds(milliseconds);
        const double paused = stopwatch.seconds();
        // The system's timer may end a pause up to one of its ticks (15.6 ms) early.
        EXPECT_GE(paused, milliseconds / 1000.0 - 0.016) << milliseconds << " ms";
        EXPECT_LT(paused, milliseconds / 1000.0 + 2) << milliseconds << " ms";
        double last = paused;
        for (int i = 0; i < 10000; ++i) {
            const double now = stopwatch.seconds();
            ASSERT_GE(now, last) << "reading " << i;
            last = now;
        }
    }
}
