// Tests of BlockQueue between two threads: blocks arrive in order with their counts, and a
// stop wakes a producer that waits for a buffer. Built for Windows (the critical section and
// the event) and natively (under ThreadSanitizer too).
#include "archive/BlockQueue.h"
#include "tests/foundation/Concurrently.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(BlockQueue, BlocksArriveInOrderWithTheirCounts)
{
    struct Case {
        int blocks;
        int32_t capacity;
        int published;
    };
    for (const Case& c : {Case{2, 1, 500}, Case{2, 64, 2000}, Case{4, 4096, 3000}, Case{8, 100, 1}, Case{3, 10, 0}}) {
        SCOPED_TRACE(std::to_string(c.blocks) + " x " + std::to_string(c.capacity));
        BlockQueue queue(c.blocks, c.capacity);
        ASSERT_TRUE(queue.usable());
        Concurrently producer([&] {
            for (int i = 0; i < c.published; ++i) {
                unsigned char* block = queue.emptyBlock();
                const int32_t count = 1 + i % c.capacity;
                std::memset(block, i & 0xff, static_cast<size_t>(count));
                queue.publish(count);
            }
            queue.close();
        });
        ASSERT_TRUE(producer.started());
        int taken = 0;
        int32_t count;
        while (const unsigned char* block = queue.fullBlock(count)) {
            ASSERT_EQ(count, 1 + taken % c.capacity) << "block " << taken;
            for (int32_t i = 0; i < count; ++i)
                ASSERT_EQ(block[i], taken & 0xff) << "block " << taken << " byte " << i;
            ++taken;
        }
        EXPECT_EQ(count, 0);
        EXPECT_EQ(queue.fullBlock(count), nullptr) << "closed stays closed";
        producer.join();
        EXPECT_EQ(taken, c.published);
    }
}

TEST(BlockQueue, StopWakesAWaitingProducerAndRefusesMore)
{
    BlockQueue queue(3, 16);
    bool refused = false;
    Concurrently producer([&] {
        // Three buffers; the fourth waits until the consumer stops the queue.
        for (int i = 0; i < 3; ++i) {
            queue.emptyBlock();
            queue.publish(16);
        }
        refused = queue.emptyBlock() == nullptr && !queue.publish(1);
    });
    ASSERT_TRUE(producer.started());
    pauseMilliseconds(50);
    queue.stop();
    producer.join();
    EXPECT_TRUE(refused);
    EXPECT_GT(queue.producerWaited(), 0.02);
    int32_t count;
    EXPECT_NE(queue.fullBlock(count), nullptr) << "what was published stays readable";
    EXPECT_EQ(count, 16);
}
