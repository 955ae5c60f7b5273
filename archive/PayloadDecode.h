// PayloadDecode: the decode layer of the payload, bzip2 or LZMA as the payload's first bytes
// say (archive/LzmaFormat.h).
#pragma once

#include "archive/InputFilter.h"

#include <memory>

// At the first read it reads the first four bytes from the source: "LZMA" makes the rest an
// LzmaDecode's; anything else (bzip2's "BZh", or bytes no codec knows, which libbzip2 then
// refuses as it always did) goes with the rest to a BzipDecode. So the codec's layer is
// made, and its memory taken, on the thread that reads, and its failures are those of the
// codec: BzipDecode::Exception, or LzmaDecode's end of a damaged stream.
class PayloadDecode : public InputFilter {
public:
    explicit PayloadDecode(InputStream* source);
    ~PayloadDecode() override;

    // Closes the codec's layer; later reads give -1.
    void close() override;

    int32_t read(unsigned char* buffer, int32_t length) override;
    int32_t read() override;

    // Whether the payload is LZMA (known after the first read).
    bool lzma() const { return lzma_; }
    // Whether the codec's stream has ended whole, its own check of all of it passed (bzip2's
    // stream end, the LZMA header's size and CRC-32); false before the end and after close().
    bool whole() const;

private:
    // The bytes read to tell the codec, then the source's.
    class Replay : public InputStream {
    public:
        explicit Replay(InputStream* source) : source_(source) {}
        int32_t read(unsigned char* buffer, int32_t length) override;
        int32_t read() override;

        unsigned char head[4];
        int count = 0;

    private:
        InputStream* source_;
        int at_ = 0;
    };

    // The codec's layer, made at the first call; null after close().
    InputStream* codec();

    Replay replay_;
    std::unique_ptr<InputStream> codec_;
    bool lzma_ = false;
    bool closed_ = false;
};
