// The stack protector's guard and failure of our own (foundation/StackGuard.cpp), seen from
// outside in probe.exe: the guard is new in every process, and an overrun ends the process
// at once with STATUS_STACK_BUFFER_OVERRUN.
#include "foundation/Process.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

DWORD exitOf(const String& arguments)
{
    char line[512];
    lstrcpynA(line, (probeProgram() + " " + arguments).c_str(), sizeof line);
    DWORD code = 0x12345678;
    EXPECT_TRUE(runProcess(line, false, nullptr, true, &code)) << arguments.c_str();
    return code;
}

unsigned long long guardOfOneRun(const TempFolder& folder, const char* name)
{
    const String file = folder + name;
    EXPECT_EQ(exitOf(String("guard \"") + file + "\""), 0u);
    unsigned long long guard = 0;
    if (std::FILE* in = std::fopen(file.c_str(), "rb")) {
        EXPECT_EQ(std::fscanf(in, "%llx", &guard), 1);
        std::fclose(in);
    }
    return guard;
}

} // namespace

TEST(StackGuard, IsNewInEveryProcessAndEndsAnOverrunAtOnce)
{
    TempFolder folder("stack guard");
    const unsigned long long first = guardOfOneRun(folder, "first.txt");
    const unsigned long long second = guardOfOneRun(folder, "second.txt");
    EXPECT_NE(first, second) << "the same guard in two processes";
    EXPECT_EQ(first & 0xFF, 0u) << "a zero byte first stops string copies";
    EXPECT_NE(first, 0x2B992DDFA232ULL & static_cast<UINT_PTR>(-1)) << "the start value was never replaced";

    const struct {
        const char* arguments;
        DWORD exitCode;
    } cases[] = {
        {"smash 8", 0},                   // within the array
        {"smash 64", 0xC0000409},         // over the guard: STATUS_STACK_BUFFER_OVERRUN
    };
    for (const auto& c : cases)
        EXPECT_EQ(exitOf(c.arguments), c.exitCode) << c.arguments;
}
