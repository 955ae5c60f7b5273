// BlockQueue: bytes handed from one thread to another a block at a time, through a few
// buffers of fixed size; the only place where the decoder thread and the reader meet.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

// One producer fills blocks and publishes them in order; one consumer takes them in that
// order and gives each back by taking the next. Each side waits (on a condition variable,
// never spinning) only when the other is a whole queue behind or ahead; the lock is taken
// once per block, not per byte. Plain standard C++, so that it is also built natively and
// checked under ThreadSanitizer.
class BlockQueue {
public:
    // blocks buffers of capacity bytes each, allocated here once (blocks >= 2).
    BlockQueue(int blocks, int32_t capacity);
    BlockQueue(const BlockQueue&) = delete;
    BlockQueue& operator=(const BlockQueue&) = delete;

    int32_t capacity() const { return capacity_; }

    // The producer's side.
    // The buffer to fill next, capacity() bytes; waits while no buffer is free. Null once
    // the consumer has stopped the queue.
    unsigned char* emptyBlock();
    // Hands the buffer of the last emptyBlock over with its first count bytes filled (count
    // > 0). False once the consumer has stopped the queue: the producer should end.
    bool publish(int32_t count);
    // Nothing follows the blocks published so far.
    void close();

    // The consumer's side.
    // The next published block, its byte count in count; gives the previous one back.
    // Waits while none is ready and the queue is open. Null, with count 0, once the queue is
    // closed and every block has been taken.
    const unsigned char* fullBlock(int32_t& count);
    // The consumer wants nothing more: a waiting producer wakes, and emptyBlock and publish
    // refuse from now on.
    void stop();

    // Seconds each side has spent waiting for the other, so far.
    double producerWaited() const;
    double consumerWaited() const;

private:
    const int blocks_;
    const int32_t capacity_;
    std::unique_ptr<unsigned char[]> memory_;
    std::unique_ptr<int32_t[]> counts_;

    mutable std::mutex mutex_;
    std::condition_variable released_; // a buffer became free, or the queue was stopped
    std::condition_variable published_; // a block was published, or the queue was closed
    // Blocks published, taken and given back so far; block n lives in buffer n % blocks_.
    uint64_t publishedCount_ = 0;
    uint64_t takenCount_ = 0;
    uint64_t releasedCount_ = 0;
    bool closed_ = false;
    bool stopped_ = false;
    double producerWaited_ = 0;
    double consumerWaited_ = 0;
};
