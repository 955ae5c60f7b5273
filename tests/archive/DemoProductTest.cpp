// Tests of the demo product that the build packs by default: its tree and its programs.
#include "TestStreams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const std::string demo = DEMO_PRODUCT_FOLDER;

// Runs command line in folder; returns its exit code and what it wrote to stdout.
DWORD run(const std::string& commandLine, std::string& output)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return 9999;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process;
    std::string line = commandLine;
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return 9998;
    }
    char buffer[512];
    DWORD n;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        output.append(buffer, n);
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, 10000);
    DWORD code = 9997;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

// Starts the Coverage Browser with arguments, waits for a window titled title, closes it
// and checks that the program ends with 0.
void expectBrowserWindow(const std::string& arguments, const char* title)
{
    SCOPED_TRACE(arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::string line = "\"" + demo + "/bin/coverageBrowser.exe\" " + arguments;
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        window = FindWindowA(nullptr, title);
        if (!window)
            Sleep(50);
    }
    EXPECT_TRUE(window != nullptr) << "no window titled " << title;
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    else
        TerminateProcess(process.hProcess, 1);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 9999;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

bool isDemo()
{
    return TRELLIQ_DEMO;
}

} // namespace

TEST(DemoProduct, TreeIsSmallAndComplete)
{
    if (!isDemo())
        GTEST_SKIP() << "the build packs another product";
    EXPECT_LT(InputResource(demoPayload).size(), 1000000u);
    const char* files[] = {"bin/trqc.exe", "bin/coverageBrowser.exe", "numega/cl.exe", "numega/link.exe"};
    for (const char* file : files)
        EXPECT_NE(GetFileAttributesA((demo + "/" + file).c_str()), INVALID_FILE_ATTRIBUTES) << file;
    const char* folders[] = {"help", "include", "lib", "src", "sample", "sample/text", "sample/win", "numega"};
    for (const char* folder : folders) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((demo + "/" + folder + "/*.*").c_str(), &data);
        bool text = false;
        if (find != INVALID_HANDLE_VALUE) {
            do
                text = text || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            while (!text && FindNextFileA(find, &data));
            FindClose(find);
        }
        EXPECT_TRUE(text) << "no file in " << folder;
    }
}

TEST(DemoProduct, CommandLineProgramsPrintTheirCommandLine)
{
    if (!isDemo())
        GTEST_SKIP() << "the build packs another product";
    const char* programs[] = {"bin/trqc.exe", "numega/cl.exe", "numega/link.exe"};
    for (const char* program : programs) {
        const std::string line = "\"" + demo + "/" + program + "\" -c \"two words.c\"";
        std::string output;
        EXPECT_EQ(run(line, output), 0u) << program;
        EXPECT_EQ(output, line + "\r\n") << program; // stdout in text mode
    }
}

TEST(DemoProduct, CoverageBrowserTitleNamesTheCoverageFile)
{
    if (!isDemo())
        GTEST_SKIP() << "the build packs another product";
    expectBrowserWindow("", "Coverage Browser");
    expectBrowserWindow("\"c:\\src\\my test.trq\"", "Coverage Browser - c:\\src\\my test.trq");
    expectBrowserWindow("notes.txt", "Coverage Browser");
}
