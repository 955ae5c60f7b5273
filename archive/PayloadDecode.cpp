// PayloadDecode: telling the codec from the first bytes and reading through its layer.
#include "archive/PayloadDecode.h"

#include "archive/BzipDecode.h"
#include "archive/LzmaDecode.h"
#include "archive/LzmaFormat.h"

#include <cstring>

PayloadDecode::PayloadDecode(InputStream* source) : InputFilter(source), replay_(source)
{
}

PayloadDecode::~PayloadDecode()
{
    close();
}

void PayloadDecode::close()
{
    closed_ = true;
    if (codec_)
        codec_->close();
    codec_.reset();
}

InputStream* PayloadDecode::codec()
{
    if (codec_ || closed_)
        return codec_.get();
    while (replay_.count < static_cast<int>(sizeof replay_.head)) {
        const int32_t c = source->read();
        if (c == -1)
            break;
        replay_.head[replay_.count++] = static_cast<unsigned char>(c);
    }
    lzma_ = replay_.count == sizeof replay_.head
            && std::memcmp(replay_.head, lzmaFormat::magic, sizeof replay_.head) == 0;
    if (lzma_)
        // "class": LzmaDec.h's one-call function LzmaDecode hides the class's name.
        codec_.reset(new class LzmaDecode(source));
    else
        codec_.reset(new BzipDecode(&replay_));
    return codec_.get();
}

bool PayloadDecode::whole() const
{
    if (!codec_)
        return false;
    if (lzma_)
        return static_cast<const class LzmaDecode*>(codec_.get())->whole();
    return static_cast<const BzipDecode*>(codec_.get())->whole();
}

int32_t PayloadDecode::read()
{
    InputStream* layer = codec();
    return layer ? layer->read() : -1;
}

int32_t PayloadDecode::read(unsigned char* buffer, int32_t length)
{
    InputStream* layer = codec();
    return layer ? layer->read(buffer, length) : -1;
}

int32_t PayloadDecode::Replay::read()
{
    return at_ < count ? head[at_++] : source_->read();
}

int32_t PayloadDecode::Replay::read(unsigned char* buffer, int32_t length)
{
    int32_t stored = 0;
    while (at_ < count && stored < length)
        buffer[stored++] = head[at_++];
    if (stored == length && length > 0)
        return stored;
    const int32_t n = source_->read(buffer + stored, length - stored);
    return stored > 0 ? stored + (n > 0 ? n : 0) : n;
}
