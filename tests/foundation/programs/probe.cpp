// probe.exe, a helper of the foundation tests:
//   probe exit N         ends with exit code N
//   probe startup FILE   writes what the start-up settings left in this process to FILE
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

int main(int argc, char** argv)
{
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
