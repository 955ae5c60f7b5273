// Fuzz target: enciphered payload bytes (bzip2 or LZMA, seeds of both) through the three
// stream layers to records and entry data, read straight from the layers and through the
// decoder thread. The only acceptable ends are a clean read, Script::Abort (also damaged
// LZMA data) and BzipDecode::Exception; an entry
// resolving outside the destination aborts; and the thread must hand out every read as
// the layers do, failures at the same read.
#include "archive/DecoderThread.h"
#include "tests/archive/TestStreams.h"
#include "tests/fuzz/PayloadWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool folding = (Path::buildFoldingTable(), true);
    (void)folding;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // 0: straight from the layers; 1: through the decoder thread.
    std::vector<std::string> traces[2];
    for (int threaded = 0; threaded < 2; ++threaded) {
        MemorySource source(bytes);
        TeaDecipher decipher(&source);
        PayloadDecode decode(&decipher);
        if (threaded) {
            DecoderThread decoder(&decode);
            traces[1] = traceWalk(decoder);
        } else {
            traces[0] = traceWalk(decode);
        }
        const std::string& outcome = traces[threaded].back();
        if (outcome != "whole" && outcome != "abort" && outcome.find("BzipDecode error: ") != 0) {
            std::fprintf(stderr, "unexpected end: %s\n", outcome.c_str());
            std::abort();
        }
    }
    if (traces[0] != traces[1]) {
        for (size_t i = 0; i < traces[0].size() || i < traces[1].size(); ++i)
            std::fprintf(stderr, "%-50s | %s\n", i < traces[0].size() ? traces[0][i].c_str() : "",
                         i < traces[1].size() ? traces[1][i].c_str() : "");
        std::abort();
    }
    return 0;
}
