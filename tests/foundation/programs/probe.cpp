// probe.exe, a helper of the foundation tests:
//   probe exit N         ends with exit code N
//   probe startup FILE   writes what the start-up settings left in this process to FILE
//   probe guard FILE     writes the stack protector's guard value to FILE
//   probe smash N        writes N bytes into an array of 8 on the stack and returns
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

extern "C" UINT_PTR __stack_chk_guard;

namespace {

// Built with the stack protector: past 8 bytes the guard below the return address goes.
__attribute__((noinline)) int smash(int count)
{
    volatile char bytes[8];
    for (int i = 0; i < count; ++i)
        bytes[i] = 'x';
    return bytes[0];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "smash") == 0)
        return smash(std::atoi(argv[2])) == 'x' ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "guard") == 0) {
        std::FILE* out = std::fopen(argv[2], "wb");
        if (!out)
            return 1;
        std::fprintf(out, "%llx\n", static_cast<unsigned long long>(__stack_chk_guard));
        std::fclose(out);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "exit") == 0)
        return std::atoi(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "startup") == 0) {
        std::FILE* out = std::fopen(argv[2], "wb");
        if (!out)
            return 1;
        const char* tz = std::getenv("TZ");
        const char* path = std::getenv("PATH");
        const UINT mode = SetErrorMode(0);
        std::fprintf(out, "TZ=%s\n", tz ? tz : "(unset)");
        std::fprintf(out, "PATH=%s\n", path ? path : "(unset)");
        std::fprintf(out, "locale=%s\n", std::setlocale(LC_ALL, nullptr));
        std::fprintf(out, "errormode=%x\n", mode);
        std::fprintf(out, "newhandler=%s\n", std::get_new_handler() ? "set" : "none");
        std::fclose(out);
        return 0;
    }
    return 2;
}
