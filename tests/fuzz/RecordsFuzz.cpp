// Fuzz target: decoded payload bytes (what the stream layers hand the records), so that the
// fuzzer reaches the records and entry names without getting through bzip2's checks.
#include "tests/archive/TestStreams.h"
#include "tests/fuzz/PayloadWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool folding = (Path::buildFoldingTable(), true);
    (void)folding;
    MemorySource source(std::string(reinterpret_cast<const char*>(data), size));
    try {
        walkPayload(source);
    } catch (const Script::Abort&) {
    }
    return 0;
}
