// A stand-in for the product's command-line tools (bin/trqc.exe, numega/cl.exe,
// numega/link.exe): prints its command line and exits 0.
#include <windows.h>

#include <cstdio>

int main()
{
    std::printf("%s\n", GetCommandLineA());
    return 0;
}
