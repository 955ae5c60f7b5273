// Tests of Mutex: threads that count under its lock lose no count. Built for Windows and
// natively (under ThreadSanitizer too).
#include "foundation/Mutex.h"
#include "tests/foundation/Concurrently.h"

#include <gtest/gtest.h>

TEST(Mutex, ThreadsCountingUnderTheLockLoseNothing)
{
    const int perThread = 1000000;
    Mutex mutex;
    long counted = 0;
    auto count = [&] {
        for (int i = 0; i < perThread; ++i) {
            Mutex::Lock lock(mutex);
            // Read and write apart, and counts enough for the threads to overlap: without the
            // lock, increments get lost (fewer counts let each thread end before the next starts).
            const long seen = counted;
            counted = seen + 1;
        }
    };
    {
        Concurrently first(count);
        Concurrently second(count);
        ASSERT_TRUE(first.started() && second.started());
        count();
    }
    EXPECT_EQ(counted, 3L * perThread);
}
