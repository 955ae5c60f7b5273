// BlockQueue: bytes handed from one thread to another a block at a time, through a few
// buffers of fixed size; the only place where the decoder thread and the reader meet.
#pragma once

#include "foundation/Mutex.h"
#include "foundation/WakeUp.h"

#include <cstdint>
#include <memory>

// One producer fills blocks and publishes them in order; one consumer takes them in that
// order and gives each back by taking the next. Each side waits (for a WakeUp, never
// spinning) only when the other is a whole queue behind or ahead; the lock is taken once
// per block, not per byte. Built on the foundation's Mutex and WakeUp, whose POSIX bodies
// let the same logic be built natively and checked under ThreadSanitizer.
//
// The producer is one thread and the consumer another: each WakeUp has the one waiter that
// WakeUp asks for. Only the producer waits for released_ (in emptyBlock) and only the
// consumer waits for published_ (in fullBlock).
class BlockQueue {
public:
    // blocks buffers of capacity bytes each, allocated here once (blocks >= 2).
    BlockQueue(int blocks, int32_t capacity);
    BlockQueue(const BlockQueue&) = delete;
    BlockQueue& operator=(const BlockQueue&) = delete;

    // False when the system could not give the queue its means of waiting: then it must not
    // be used between two threads.
    bool usable() const { return released_.usable() && published_.usable(); }

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
    // Whether a buffer is free for the producer, or the queue stopped; under the lock.
    bool producerMayGoOn() const;
    // Whether a block is ready for the consumer, or the queue closed; under the lock.
    bool consumerMayGoOn() const;

    const int blocks_;
    const int32_t capacity_;
    std::unique_ptr<unsigned char[]> memory_;
    std::unique_ptr<int32_t[]> counts_;

    mutable Mutex mutex_;
    WakeUp released_;  // a buffer became free, or the queue was stopped
    WakeUp published_; // a block was published, or the queue was closed
    // Blocks published, taken and given back so far; block n lives in buffer n % blocks_.
    uint64_t publishedCount_ = 0;
    uint64_t takenCount_ = 0;
    uint64_t releasedCount_ = 0;
    bool closed_ = false;
    bool stopped_ = false;
    double producerWaited_ = 0;
    double consumerWaited_ = 0;
};
