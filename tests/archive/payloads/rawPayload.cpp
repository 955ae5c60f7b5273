// raw-payload: enciphers the decoded archive bytes read from standard input as a payload,
// for test archives the product-folder builder cannot make (a wrong magic, a cut entry,
// hostile entry names). A host program:  raw-payload OUTPUT_FILE < DECODED_BYTES
#include "tools/payload/PayloadWriter.h"

#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: raw-payload OUTPUT_FILE < DECODED_BYTES\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    try {
        PayloadWriter writer(out);
        char buffer[65536];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
            writer.write(buffer, got);
        writer.finish();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", argv[1], failure.what());
        std::fclose(out);
        std::remove(argv[1]);
        return 1;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
