// decode-floor: the payload's stream stack alone, for the benchmark. Reads resource 150
// through TeaDecipher and the decode layer (bzip2 or LZMA, as the payload says) in
// 4096-byte chunks, as the extraction does, and throws the bytes away.
//   decode-floor          prints the decoded byte count and the seconds the stack took,
//                         wall clock and processor time (user and kernel)
//   decode-floor FILE     writes the deciphered, still compressed stream to FILE instead,
//                         for timing the native bzip2 on the very same bytes
#include "archive/InputResource.h"
#include "archive/PayloadDecode.h"
#include "archive/TeaDecipher.h"

#include <windows.h>

#include <cstdio>

namespace {

double processorSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) { return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime); };
    return (ticks(kernel) + ticks(user)) / 1e7;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const double processorStart = processorSeconds();
        InputResource resource(150);
        TeaDecipher decipher(&resource);
        unsigned char buffer[4096];
        int32_t n;
        if (argc == 2) {
            std::FILE* out = std::fopen(argv[1], "wb");
            if (!out)
                return 1;
            while ((n = decipher.read(buffer, sizeof buffer)) > 0)
                std::fwrite(buffer, 1, static_cast<size_t>(n), out);
            return std::fclose(out) == 0 ? 0 : 1;
        }
        PayloadDecode decode(&decipher);
        long long total = 0;
        while ((n = decode.read(buffer, sizeof buffer)) > 0)
            total += n;
        QueryPerformanceCounter(&end);
        std::printf("%lld %.3f %.3f\n", total, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
                    processorSeconds() - processorStart);
        return 0;
    } catch (const Exception& failure) {
        std::fprintf(stderr, "decode-floor: %s\n", failure.message().c_str());
        return 1;
    }
}
