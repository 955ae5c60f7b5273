// LzmaDecode: the header, the LZMA SDK's decoder over the source's bytes, and the check.
#include "archive/LzmaDecode.h"

#include "archive/LzmaFormat.h"

#include <cstdlib>
#include <cstring>

namespace {

void* allocate(void*, size_t size)
{
    return std::malloc(size);
}

void release(void*, void* address)
{
    std::free(address);
}

ISzAlloc allocator = {allocate, release};

const SizeT decodeStep = 32 * 1024;

} // namespace

LzmaDecode::LzmaDecode(InputStream* source) : InputFilter(source)
{
    LzmaDec_Construct(&state_);
    state_.dicPos = 0;
    lzmaFormat::crcTable(crcTable_);
}

LzmaDecode::~LzmaDecode()
{
    close();
}

void LzmaDecode::close()
{
    LzmaDec_FreeProbs(&state_, &allocator);
    std::free(state_.dic);
    state_.dic = nullptr;
    state_.dicPos = at_ = 0;
    phase_ = closed;
}

bool LzmaDecode::fail()
{
    state_.dicPos = at_;
    phase_ = broken;
    return false;
}

bool LzmaDecode::refill()
{
    const int32_t n = source->read(input_, sizeof input_);
    if (n <= 0)
        return false;
    inputAt_ = 0;
    inputCount_ = static_cast<uint32_t>(n);
    return true;
}

bool LzmaDecode::start()
{
    // Until the header is read and the memory had: a failure here, thrown or not, is final.
    phase_ = broken;
    unsigned char head[lzmaFormat::headerSize - 4];
    for (size_t got = 0; got < sizeof head;) {
        const int32_t n = source->read(head + got, static_cast<int32_t>(sizeof head - got));
        if (n <= 0)
            return fail();
        got += static_cast<size_t>(n);
    }
    // The memory stays bounded whatever the header says: the dictionary by its limit, the
    // probabilities (768 << (lc + lp) of them, 2 bytes each) by lc + lp <= 4, as LZMA2 has
    // it; the builder writes lc 3, lp 0.
    CLzmaProps properties;
    if (LzmaProps_Decode(&properties, head, lzmaFormat::propertiesSize) != SZ_OK
        || properties.dicSize > lzmaFormat::dictionarySize || properties.lc + properties.lp > 4)
        return fail();
    remaining_ = lzmaFormat::loadLittleEndian(head + lzmaFormat::propertiesSize);
    expectedCrc_ = lzmaFormat::loadLittleEndian(head + lzmaFormat::propertiesSize + 4);
    if (LzmaDec_AllocateProbs(&state_, head, lzmaFormat::propertiesSize, &allocator) != SZ_OK)
        throw Exception("the decoder's probabilities");
    // No match reaches further back than the bytes decoded so far, so a payload smaller
    // than the dictionary needs only its own size.
    size_t size = properties.dicSize < remaining_ ? properties.dicSize : remaining_;
    if (size == 0)
        size = 1;
    state_.dic = static_cast<unsigned char*>(std::malloc(size));
    if (!state_.dic)
        throw Exception("a dictionary of " + String::valueOf(static_cast<int>(size)) + " bytes");
    state_.dicBufSize = size;
    LzmaDec_Init(&state_);
    phase_ = decoding;
    if (remaining_ == 0 && expectedCrc_ != 0)
        return fail();
    if (remaining_ == 0)
        phase_ = ended;
    return true;
}

bool LzmaDecode::decode()
{
    if (phase_ == header && !start())
        return false;
    if (phase_ != decoding)
        return false;
    if (state_.dicPos == state_.dicBufSize)
        state_.dicPos = at_ = 0;
    // A step of at most 32 KiB: the decoder thread hands each step on before the next, so
    // the extraction need not wait for a whole dictionary's worth.
    SizeT limit = state_.dicBufSize - state_.dicPos > decodeStep ? state_.dicPos + decodeStep : state_.dicBufSize;
    ELzmaFinishMode finish = LZMA_FINISH_ANY;
    if (limit - state_.dicPos >= remaining_) {
        limit = state_.dicPos + remaining_;
        finish = LZMA_FINISH_END;
    }
    const size_t begin = state_.dicPos;
    while (state_.dicPos == begin) {
        if (inputAt_ == inputCount_ && !refill())
            return fail();
        SizeT length = inputCount_ - inputAt_;
        ELzmaStatus status;
        if (LzmaDec_DecodeToDic(&state_, limit, input_ + inputAt_, &length, finish, &status) != SZ_OK
            || status == LZMA_STATUS_FINISHED_WITH_MARK)
            return fail();
        inputAt_ += static_cast<uint32_t>(length);
        // Input left over, none taken and nothing decoded: the decoder would never go on.
        if (length == 0 && state_.dicPos == begin && inputAt_ != inputCount_)
            return fail();
    }
    const size_t produced = state_.dicPos - begin;
    crc_ = lzmaFormat::crcUpdate(crcTable_, crc_, state_.dic + begin, produced);
    remaining_ -= static_cast<uint32_t>(produced);
    if (remaining_ == 0) {
        if (crc_ != expectedCrc_)
            return fail();
        phase_ = ended;
    }
    return true;
}

int32_t LzmaDecode::read()
{
    if (unread() > 0 || decode())
        return state_.dic[at_++];
    return -1;
}

int32_t LzmaDecode::read(unsigned char* buffer, int32_t length)
{
    int32_t stored = 0;
    while (stored < length && (unread() > 0 || decode())) {
        int32_t n = unread();
        if (n > length - stored)
            n = length - stored;
        std::memcpy(buffer + stored, state_.dic + at_, static_cast<size_t>(n));
        at_ += static_cast<size_t>(n);
        stored += n;
    }
    if (stored == 0 && unread() == 0 && phase_ != header && phase_ != decoding)
        return -1;
    return stored;
}
