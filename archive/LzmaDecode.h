// LzmaDecode: the stream layer that decodes an LZMA payload (archive/LzmaFormat.h) read from
// its source, which stands just past the payload's "LZMA".
#pragma once

#include "archive/InputFilter.h"
#include "foundation/Exception.h"

#include <LzmaDec.h>

// LZMA data carries no check of its own: the decoded bytes' CRC-32 is compared when the
// last of them is decoded, and the read that would hand them out fails instead. Data that
// is damaged (a bad header, a dictionary above lzmaFormat::dictionarySize or lc + lp above
// 4, a stream the decoder refuses, a wrong CRC) or cut short ends the stream as a cut
// payload does: the read gives what was decoded before, then -1, and so does every later
// read. The archive format then counts the payload as damaged.
//
// The LZMA SDK's one-call function LzmaDecode (LzmaDec.h) hides this class's name where
// both are seen: "class LzmaDecode" names the class there.
//
// Memory: the dictionary (no larger than the decoded size) and 16 KiB of the decoder's
// probabilities (28 KiB at most), allocated at the first read; 4 KiB of input and 4 KiB of
// CRC tables here. The decoded bytes are handed out of the dictionary itself.
class LzmaDecode : public InputFilter {
public:
    // Text: what could not be allocated, then the C library's error text.
    class Exception : public ExceptionText {
    public:
        explicit Exception(const String& text) : ExceptionText(text) {}
        const char* title() const override { return "LzmaDecode error"; }
    };

    explicit LzmaDecode(InputStream* source);
    ~LzmaDecode() override;

    // Frees the dictionary; later reads give -1.
    void close() override;

    // Up to length decoded bytes; -1 when nothing was stored because the stream ended,
    // was cut short or is damaged. The first read throws Exception when the memory for the
    // dictionary cannot be had.
    int32_t read(unsigned char* buffer, int32_t length) override;
    int32_t read() override;

    // Whether the data was found damaged or cut short.
    bool damaged() const { return phase_ == broken; }
    // Whether all the bytes the header announces were decoded and their CRC-32 matched.
    bool whole() const { return phase_ == ended; }

private:
    enum Phase { header, decoding, ended, broken, closed };

    // Reads the header and allocates; false when it is damaged or cut.
    bool start();
    // Decodes more bytes into the dictionary (which has none unread). False at the end,
    // and when the data is damaged or cut.
    bool decode();
    bool fail();
    // Fills the input buffer from the source; false at its end.
    bool refill();
    int32_t unread() const { return static_cast<int32_t>(state_.dicPos - at_); }

    CLzmaDec state_;
    Phase phase_ = header;
    size_t at_ = 0; // the next byte of the dictionary to hand out
    uint32_t remaining_ = 0; // decoded bytes still to come
    uint32_t crc_ = 0;
    uint32_t expectedCrc_ = 0;
    uint32_t crcTable_[4][256];
    unsigned char input_[4096];
    uint32_t inputAt_ = 0;
    uint32_t inputCount_ = 0;
};
