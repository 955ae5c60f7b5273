// DecoderThread: the thread's walk through the payload, the filling of the queue and the
// reader's side.
#include "archive/DecoderThread.h"

#include "archive/BzipDecode.h"
#include "archive/RecordReader.h"
#include "foundation/Stopwatch.h"

#include <cstring>

namespace {

// Four buffers of 64 KiB (256 KiB in all, whatever the payload's size): one being filled,
// one being read, two waiting: the decoder runs up to three blocks (a few of the product's
// files) ahead of the extraction before it waits.
const int queueBlocks = 4;
const int32_t blockSize = 64 * 1024;

// The thread's side: reads from the stream below and appends every byte it gets to the
// queue's current buffer, publishing each buffer when the next read would not fit.
class Filler : public InputStream {
public:
    // Thrown inside the thread when the reader has stopped the queue; caught at its top.
    struct Stopped {};

    Filler(InputStream* source, BlockQueue& queue) : source_(source), queue_(queue) {}

    int32_t read() override
    {
        const int32_t c = source_->read();
        if (c != -1) {
            room(1);
            block_[count_++] = static_cast<unsigned char>(c);
        }
        return c;
    }

    int32_t read(unsigned char* buffer, int32_t length) override
    {
        const int32_t n = fill(length);
        if (n > 0)
            std::memcpy(buffer, block_ + count_ - n, static_cast<size_t>(n));
        return n;
    }

    // One read of length bytes from the stream below, straight into the current buffer.
    int32_t fill(int32_t length)
    {
        if (length > queue_.capacity())
            length = queue_.capacity();
        room(length);
        const int32_t n = source_->read(block_ + count_, length);
        if (n > 0)
            count_ += n;
        return n;
    }

    // Publishes what the completed reads have stored. False once the reader has stopped.
    bool flush()
    {
        if (!block_ || count_ == 0)
            return true;
        block_ = nullptr;
        return queue_.publish(count_);
    }

    // The extraction's reads, in its order and of its sizes (ArchiveReader::readHeader and
    // extractEntries): the header record, then per entry its record and its data in chunks.
    // Ends where the extraction stops reading: after the last entry, at a damaged record or
    // entry, or at data cut short.
    void walk()
    {
        RecordReader records(this);
        int count;
        if (!records.readHeader(count))
            return;
        for (int i = 0; i < count; ++i) {
            String name;
            int size;
            time_t time;
            if (!records.readEntry(name, size, time) || !RecordReader::isValidEntry(name, size))
                return;
            for (int remaining = size; remaining > 0;) {
                const int32_t chunk = remaining < RecordReader::chunkSize ? remaining : RecordReader::chunkSize;
                if (fill(chunk) < chunk)
                    return;
                remaining -= chunk;
            }
        }
    }

private:
    // Makes room for length more bytes: publishes a buffer without it and takes the next.
    void room(int32_t length)
    {
        if (block_ && count_ + length <= queue_.capacity())
            return;
        if (!flush())
            throw Stopped();
        block_ = queue_.emptyBlock();
        if (!block_)
            throw Stopped();
        count_ = 0;
    }

    InputStream* source_;
    BlockQueue& queue_;
    unsigned char* block_ = nullptr;
    int32_t count_ = 0;
};

} // namespace

DecoderThread::DecoderThread(InputStream* source, Decoding decoding)
    : source_(source), queue_(queueBlocks, blockSize), state_(direct)
{
    // No thread to be had (out of memory or of threads): the reads decode on the caller's
    // thread, as they did before there was one.
    if (decoding == callersThread || !queue_.usable() || !thread_.start(decodeThread, this))
        return;
    threaded_ = true;
    state_ = queued;
}

DecoderThread::~DecoderThread()
{
    close();
}

void DecoderThread::close() noexcept
{
    if (thread_.started()) {
        queue_.stop();
        thread_.join();
        decoderBusy_ = threadSeconds_ - queue_.producerWaited();
        readerWaited_ = queue_.consumerWaited();
    }
    state_ = closed;
    block_ = nullptr;
    count_ = at_ = 0;
}

void DecoderThread::decodeThread(void* decoder)
{
    static_cast<DecoderThread*>(decoder)->decode();
}

void DecoderThread::decode() noexcept
{
    const Stopwatch busy;
    Filler filler(source_, queue_);
    try {
        filler.walk();
        filler.flush();
    } catch (const Filler::Stopped&) {
        // The reader wants nothing more.
    } catch (const BzipDecode::Exception& failure) {
        // The bytes of the reads before the failed one are the reader's; the failed read's
        // own are not, as they never reached a caller without the thread.
        filler.flush();
        failed_ = true;
        failureResult_ = failure.result();
        if (failureResult_ == 0)
            failure_ = std::current_exception();
    } catch (...) {
        filler.flush();
        failed_ = true;
        failure_ = std::current_exception();
    }
    threadSeconds_ = busy.seconds();
    // The last thing the thread does: from here on the stream below is the reader's.
    queue_.close();
}

bool DecoderThread::nextBlock()
{
    if (state_ != queued)
        return false;
    do {
        block_ = queue_.fullBlock(count_);
        at_ = 0;
    } while (block_ && count_ == 0);
    if (block_)
        return true;
    state_ = failed_ ? failed : direct;
    return false;
}

void DecoderThread::throwFailure() const
{
    if (failureResult_ != 0)
        throw BzipDecode::Exception(failureResult_);
    std::rethrow_exception(failure_);
}

int32_t DecoderThread::read()
{
    if (at_ < count_ || nextBlock())
        return block_[at_++];
    if (state_ == direct)
        return source_->read();
    if (state_ == failed)
        throwFailure();
    return -1;
}

int32_t DecoderThread::read(unsigned char* buffer, int32_t length)
{
    if (length <= 0) {
        if (at_ < count_ || nextBlock())
            return 0;
        return state_ == direct ? source_->read(buffer, length) : state_ == closed ? -1 : 0;
    }
    int32_t stored = 0;
    while (stored < length && (at_ < count_ || nextBlock())) {
        int32_t n = count_ - at_;
        if (n > length - stored)
            n = length - stored;
        std::memcpy(buffer + stored, block_ + at_, static_cast<size_t>(n));
        at_ += n;
        stored += n;
    }
    if (stored == length)
        return stored;
    if (state_ == failed)
        throwFailure();
    if (state_ == direct) {
        const int32_t n = source_->read(buffer + stored, length - stored);
        if (n > 0)
            stored += n;
    }
    return stored > 0 ? stored : -1;
}
