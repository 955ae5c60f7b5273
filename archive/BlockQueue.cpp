// BlockQueue: the buffers, the two counters that share them out and the waits.
#include "archive/BlockQueue.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

BlockQueue::BlockQueue(int blocks, int32_t capacity)
    : blocks_(blocks), capacity_(capacity), memory_(new unsigned char[static_cast<size_t>(blocks) * capacity]),
      counts_(new int32_t[blocks])
{
}

unsigned char* BlockQueue::emptyBlock()
{
    std::unique_lock<std::mutex> lock(mutex_);
    // Published blocks not yet given back hold their buffers, the one being read included.
    const auto free = [this] { return stopped_ || publishedCount_ - releasedCount_ < static_cast<uint64_t>(blocks_); };
    if (!free()) {
        const Clock::time_point start = Clock::now();
        released_.wait(lock, free);
        producerWaited_ += secondsSince(start);
    }
    if (stopped_)
        return nullptr;
    return memory_.get() + static_cast<size_t>(publishedCount_ % blocks_) * capacity_;
}

bool BlockQueue::publish(int32_t count)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_)
            return false;
        counts_[publishedCount_ % blocks_] = count;
        ++publishedCount_;
    }
    published_.notify_one();
    return true;
}

void BlockQueue::close()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    published_.notify_one();
}

const unsigned char* BlockQueue::fullBlock(int32_t& count)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (releasedCount_ < takenCount_) {
        ++releasedCount_;
        released_.notify_one();
    }
    const auto ready = [this] { return closed_ || takenCount_ < publishedCount_; };
    if (!ready()) {
        const Clock::time_point start = Clock::now();
        published_.wait(lock, ready);
        consumerWaited_ += secondsSince(start);
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
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    released_.notify_one();
}

double BlockQueue::producerWaited() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return producerWaited_;
}

double BlockQueue::consumerWaited() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return consumerWaited_;
}
