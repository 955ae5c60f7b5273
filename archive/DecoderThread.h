// DecoderThread: the decoded payload as a stream whose bytes a thread of its own decodes
// ahead of the reader.
#pragma once

#include "archive/BlockQueue.h"
#include "archive/InputStream.h"
#include "foundation/Thread.h"

#include <exception>

// The thread reads the stream below (the stack's top, PayloadDecode) exactly as the extraction
// reads a payload, call by call: the header record, then each entry's record and its data
// in chunks of RecordReader::chunkSize; it stops where the extraction stops reading. What it
// reads goes into a BlockQueue, from which read() and read(buffer, length) hand it out. So
// the layers below see the very reads they saw without the thread, and a failure (corrupt
// bzip2 data) surfaces in the reader's read that starts where the failed read started: the
// same read as without the thread, when the reader reads as the extraction does. Bytes
// beyond the walk (reads of another kind) come straight from the stream below, on the
// reader's thread, once the thread has finished with it.
//
// Failures never cross the threads as exceptions: the thread catches them and the reader's
// read throws them again, BzipDecode::Exception made anew so that its text carries the
// reading thread's errno, as if found there. No thread outlives close() or the destructor,
// and neither throws.
class DecoderThread : public InputStream {
public:
    enum Decoding {
        ahead,        // on a thread of its own (the install)
        callersThread // every read straight from the stream below (also when no thread can start)
    };

    // source is not owned; until close() only the thread touches it, unless decoding is
    // callersThread. Starts the thread; where the system gives none (or no means for the
    // queue's waits), every read decodes on the caller's thread, as with callersThread.
    explicit DecoderThread(InputStream* source, Decoding decoding = ahead);
    ~DecoderThread() override;

    // Ends the decoding: the thread is asked to stop and joined. Later reads give -1.
    void close() noexcept override;

    int32_t read() override;
    // The bytes of the blocks, then (past the walk) of the stream below. A failure found by
    // the thread at or before the end of the requested bytes throws, whatever was stored.
    int32_t read(unsigned char* buffer, int32_t length) override;

    // Whether the thread runs (or ran): false for callersThread or when none could start.
    bool threaded() const { return threaded_; }
    // After close: the seconds the thread spent decoding (its life without its waits for a
    // free buffer), and the seconds the reader spent waiting for a block.
    double decoderBusy() const { return decoderBusy_; }
    double readerWaited() const { return readerWaited_; }

private:
    // What a reader finds past the blocks.
    enum State {
        queued, // blocks of the thread
        direct, // the stream below
        failed, // the thread's failure, thrown by every read
        closed  // nothing
    };

    // The thread's function: decoder->decode(), which catches every failure itself.
    static void decodeThread(void* decoder);
    void decode() noexcept;
    // The next block with bytes; false (and the state past the blocks set) when none is left.
    bool nextBlock();
    [[noreturn]] void throwFailure() const;

    InputStream* source_;
    BlockQueue queue_;
    State state_;
    bool threaded_ = false;
    const unsigned char* block_ = nullptr;
    int32_t count_ = 0;
    int32_t at_ = 0;

    // Set by the thread before it closes the queue, read by the reader after the queue has
    // told it so.
    bool failed_ = false;
    int failureResult_ = 0; // BzipDecode::Exception's result, else 0 and failure_ holds it
    std::exception_ptr failure_;
    double threadSeconds_ = 0;

    double decoderBusy_ = 0;
    double readerWaited_ = 0;
    Thread thread_;
};
