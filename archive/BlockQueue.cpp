// BlockQueue: the buffers, the two counters that share them out and the waits.
#include "archive/BlockQueue.h"

#include "foundation/Stopwatch.h"

BlockQueue::BlockQueue(int blocks, int32_t capacity)
    : blocks_(blocks), capacity_(capacity), memory_(new unsigned char[static_cast<size_t>(blocks) * capacity]),
      counts_(new int32_t[blocks])
{
}

bool BlockQueue::producerMayGoOn() const
{
    // Published blocks not yet given back hold their buffers, the one being read included.
    return stopped_ || publishedCount_ - releasedCount_ < static_cast<uint64_t>(blocks_);
}

bool BlockQueue::consumerMayGoOn() const
{
    return closed_ || takenCount_ < publishedCount_;
}

// Each side wakes the other while it holds the lock, right after the change it announces:
// the woken side may then wait a moment for the lock, once per block.
unsigned char* BlockQueue::emptyBlock()
{
    Mutex::Lock lock(mutex_);
    if (!producerMayGoOn()) {
        const Stopwatch waited;
        do
            released_.wait(lock);
        while (!producerMayGoOn());
        producerWaited_ += waited.seconds();
    }
    if (stopped_)
        return nullptr;
    return memory_.get() + static_cast<size_t>(publishedCount_ % blocks_) * capacity_;
}

bool BlockQueue::publish(int32_t count)
{
    Mutex::Lock lock(mutex_);
    if (stopped_)
        return false;
    counts_[publishedCount_ % blocks_] = count;
    ++publishedCount_;
    published_.wake();
    return true;
}

void BlockQueue::close()
{
    Mutex::Lock lock(mutex_);
    closed_ = true;
    published_.wake();
}

const unsigned char* BlockQueue::fullBlock(int32_t& count)
{
    Mutex::Lock lock(mutex_);
    if (releasedCount_ < takenCount_) {
        ++releasedCount_;
        released_.wake();
    }
    if (!consumerMayGoOn()) {
        const Stopwatch waited;
        do
            published_.wait(lock);
        while (!consumerMayGoOn());
        consumerWaited_ += waited.seconds();
    }
    if (takenCount_ == publishedCount_) {
        count = 0;
        return nullptr;
    }
    const size_t buffer = static_cast<size_t>(takenCount_ % blocks_);
    ++takenCount_;
    count = counts_[buffer];
    return memory_.get() + buffer * capacity_;
}

void BlockQueue::stop()
{
    Mutex::Lock lock(mutex_);
    stopped_ = true;
    released_.wake();
}

double BlockQueue::producerWaited() const
{
    Mutex::Lock lock(mutex_);
    return producerWaited_;
}

double BlockQueue::consumerWaited() const
{
    Mutex::Lock lock(mutex_);
    return consumerWaited_;
}
