// Fuzz target: enciphered payload bytes through the three stream layers to records and
// entry data. The only acceptable ends are a clean read, Script::Abort and
// BzipDecode::Exception; an entry resolving outside the destination aborts.
#include "tests/archive/TestStreams.h"
#include "tests/fuzz/PayloadWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool folding = (Path::buildFoldingTable(), true);
    (void)folding;
    MemorySource source(std::string(reinterpret_cast<const char*>(data), size));
    TeaDecipher decipher(&source);
    BzipDecode decode(&decipher);
    try {
        walkPayload(decode, false);
    } catch (const Script::Abort&) {
    } catch (const BzipDecode::Exception&) {
    }
    return 0;
}
