// BzipDecode: the stream layer that decompresses one bzip2 stream read from its source.
#pragma once

#include "archive/InputFilter.h"
#include "foundation/Exception.h"

#include <bzlib.h>

class BzipDecode : public InputFilter {
public:
    // Text: "bzDecompressInit", or "bzDecompress=" and libbzip2's result code, then the C
    // library's error text.
    class Exception : public ExceptionText {
    public:
        explicit Exception(const char* text) : ExceptionText(text) {}
        // "bzDecompress=" and the result; the same failure made again on another thread
        // gets that thread's errno text, as if it had been found there.
        explicit Exception(int result) : ExceptionText(String("bzDecompress=") + String::valueOf(result)), result_(result) {}
        const char* title() const override { return "BzipDecode error"; }
        // libbzip2's result code of a failed decompression, 0 for a failed initialisation.
        int result() const { return result_; }

    private:
        int result_ = 0;
    };

    // Throws Exception when the decoder cannot be initialised.
    explicit BzipDecode(InputStream* source);
    ~BzipDecode() override;

    // Ends the decoder; later calls do nothing.
    void close() override;

    // Up to length decompressed bytes: first those left over from single-byte reads, then
    // fresh ones. Returns the count, or -1 when nothing was stored because the stream
    // ended (at the bzip2 stream end, or where the source ran out before it). Corrupt data
    // throws Exception.
    int32_t read(unsigned char* buffer, int32_t length) override;
    int32_t read() override;

    // Whether the bzip2 stream end was reached, its check of the whole stream passed.
    bool whole() const { return ended_; }

private:
    // Decompresses into buffer until at least one byte is produced. Returns the count, 0
    // once when the stream end produced nothing more, or -1 at the end.
    int32_t decode(unsigned char* buffer, int32_t length);

    bz_stream stream_;
    char input_[2048];
    unsigned char output_[2048];
    uint32_t count_ = 0;
    uint32_t index_ = 0;
    bool closed_ = false;
    bool ended_ = false;
};
