// pack-payload: turns a product folder into setup.exe's payload (resource 150). A host
// program of the build machine:
//   pack-payload [--codec bzip2|lzma] PRODUCT_FOLDER OUTPUT_FILE     (bzip2 by default)
// The same tree always gives the same bytes. On failure it says why, naming the file, and
// leaves no output file behind, not even an older one.
#include "PayloadWriter.h"
#include "ProductTree.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void copyFile(PayloadWriter& writer, const ProductFile& file)
{
    std::FILE* in = std::fopen(file.path.c_str(), "rb");
    if (!in)
        throw std::runtime_error(file.path + ": cannot read: " + std::strerror(errno));
    char buffer[65536];
    uint32_t remaining = file.size;
    while (remaining > 0) {
        const size_t want = remaining < sizeof buffer ? remaining : sizeof buffer;
        const size_t got = std::fread(buffer, 1, want, in);
        if (got == 0) {
            const bool error = std::ferror(in);
            const std::string reason = error ? std::strerror(errno) : "it became shorter while being read";
            std::fclose(in);
            throw std::runtime_error(file.path + ": cannot read: " + reason);
        }
        writer.write(buffer, got);
        remaining -= static_cast<uint32_t>(got);
    }
    std::fclose(in);
}

void pack(const std::string& folder, std::FILE* out, PayloadWriter::Codec codec)
{
    const ProductTree tree(folder);
    PayloadWriter writer(out, codec);
    // Header lines 3 and 4 are not read by setup.exe.
    writer.record(std::to_string(tree.files().size()), "0", "0");
    for (const ProductFile& file : tree.files()) {
        writer.record(file.name, std::to_string(file.size), std::to_string(file.time));
        copyFile(writer, file);
    }
    writer.finish();
}

} // namespace

int main(int argc, char** argv)
{
    PayloadWriter::Codec codec = PayloadWriter::Codec::bzip2;
    if (argc == 5 && std::strcmp(argv[1], "--codec") == 0) {
        if (std::strcmp(argv[2], "lzma") == 0)
            codec = PayloadWriter::Codec::lzma;
        else if (std::strcmp(argv[2], "bzip2") != 0)
            argc = 0;
        argv += 2;
        argc -= 2;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: pack-payload [--codec bzip2|lzma] PRODUCT_FOLDER OUTPUT_FILE\n");
        return 2;
    }
    const std::string output = argv[2];
    // Written beside the output and renamed over it only when complete.
    std::string temporary = output + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        std::fprintf(stderr, "pack-payload: %s: cannot create: %s\n", temporary.c_str(), std::strerror(errno));
        std::remove(output.c_str());
        return 1;
    }
    std::FILE* out = fdopen(fd, "wb");
    if (!out)
        close(fd);
    try {
        if (!out)
            throw std::runtime_error(temporary + ": cannot open: " + std::strerror(errno));
        pack(argv[1], out, codec);
        if (std::fflush(out) != 0 || fchmod(fd, 0644) != 0)
            throw std::runtime_error(temporary + ": cannot write: " + std::strerror(errno));
        const int closed = std::fclose(out);
        out = nullptr;
        if (closed != 0)
            throw std::runtime_error(temporary + ": cannot write: " + std::strerror(errno));
        if (std::rename(temporary.c_str(), output.c_str()) != 0)
            throw std::runtime_error(output + ": cannot write: " + std::strerror(errno));
    } catch (const std::exception& e) {
        if (out)
            std::fclose(out);
        std::remove(temporary.c_str());
        std::remove(output.c_str());
        std::fprintf(stderr, "pack-payload: %s\n", e.what());
        return 1;
    }
    return 0;
}
