// Tests of Thread: the function runs once, on another thread, and join() or the destructor
// waits for its end. Built for Windows and natively (under ThreadSanitizer too).
#include "foundation/Thread.h"
#include "tests/foundation/Concurrently.h"

#include <gtest/gtest.h>

namespace {

unsigned long currentThread()
{
#ifdef _WIN32
    return GetCurrentThreadId();
#else
    return static_cast<unsigned long>(pthread_self());
#endif
}

// What the thread's function saw; read by the test only after the join.
struct Record {
    int runs = 0;
    unsigned long thread = 0;
};

// Ends a while after it starts, so that a join that does not wait finds it unfinished.
void slowRecord(void* record)
{
    pauseMilliseconds(100);
    Record* seen = static_cast<Record*>(record);
    ++seen->runs;
    seen->thread = currentThread();
}

} // namespace

TEST(Thread, RunsTheFunctionOnceElsewhereAndJoinWaitsForItsEnd)
{
    for (bool byDestructor : {false, true}) {
        SCOPED_TRACE(byDestructor ? "joined by the destructor" : "joined by join()");
        Record run;
        {
            Thread thread;
            EXPECT_FALSE(thread.started());
            ASSERT_TRUE(thread.start(slowRecord, &run));
            EXPECT_TRUE(thread.started());
            EXPECT_FALSE(thread.start(slowRecord, &run)) << "a second thread while the first runs";
            if (!byDestructor) {
                thread.join();
                EXPECT_FALSE(thread.started());
                EXPECT_EQ(run.runs, 1) << "join returned before the function ended";
                thread.join();
                ASSERT_TRUE(thread.start(slowRecord, &run)) << "a new thread after the join";
            }
        }
        EXPECT_EQ(run.runs, byDestructor ? 1 : 2) << "the destructor returned before the function ended";
        EXPECT_NE(run.thread, 0ul);
        EXPECT_NE(run.thread, currentThread()) << "the function ran on the caller's thread";
    }
}
