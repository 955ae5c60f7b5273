// robot: drives setup.exe's windows from outside, as a user would. It runs a script given
// as arguments, one command after another, and stops with exit code 1 at the first command
// that fails, saying why:
//   wait CAPTION          waits for a visible dialog with that caption (not one used before)
//   expect ID TEXT        the control's text must be TEXT
//   seek TEXT             waits for the message box whose text begins with TEXT, answering
//                         the ones before it with OK
//   begins ID TEXT        the control's text must begin with TEXT
//   shown ID 0|1          the control must be hidden (0) or visible (1)
//   set ID TEXT           types TEXT into an edit control
//   tick ID 0|1           sets a check box
//   ready ID              waits until the control is enabled
//   click ID              waits until the button is enabled, then clicks it
//   gone                  waits until the current dialog has gone
//   absent CAPTION MS     no dialog with that caption may appear within MS milliseconds
//   run COMMANDLINE       starts a command line as Windows' program list would, no waiting
//   window CAPTION        waits for a visible top-level window of any class
//   close                 asks the current window to close (WM_CLOSE)
//   escape                presses Escape in the current dialog
//   await NAME            waits until no process runs a program file named NAME
//   quiet NAME            waits for a process of the program file NAME, then looks every 50 ms
//                         until none runs: no visible top-level window may belong to one
//   exits CODE COMMANDLINE  starts a command line as Windows' program list would, waits for
//                         its end; its exit code must be CODE
//   timeout MS            how long the waiting commands wait from now on (default 60000)
//   endsession NAME       ends the session for the program file NAME as Windows does when the
//                         user shuts down anyway: WM_QUERYENDSESSION to each of its top-level
//                         windows, then WM_ENDSESSION (TRUE). Both are queued at once, so that a
//                         program that is busy gets them together, in that order; the robot
//                         then waits for the answers and prints them
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace {

DWORD timeoutMs = 60000;
std::set<HWND> used;
HWND current = nullptr;

struct Search {
    const char* caption;
    bool anyClass;
    HWND found;
};

BOOL CALLBACK match(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    if (!IsWindowVisible(window) || used.count(window))
        return TRUE;
    char text[1024] = "";
    char windowClass[64] = "";
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (std::strcmp(text, search->caption) == 0 && (search->anyClass || std::strcmp(windowClass, "#32770") == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND find(const char* caption, bool anyClass)
{
    Search search = {caption, anyClass, nullptr};
    EnumWindows(match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK list(HWND window, LPARAM)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && text[0])
        std::fprintf(stderr, "robot:   visible: \"%s\"\n", text);
    return TRUE;
}

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "robot: %s\n", why.c_str());
    EnumWindows(list, 0);
    std::exit(1);
}

std::string textOf(HWND window)
{
    char buffer[2048] = "";
    SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

HWND control(const char* id)
{
    if (!current)
        fail("no current dialog");
    HWND item = GetDlgItem(current, std::atoi(id));
    if (!item)
        fail(std::string("no control ") + id);
    return item;
}

HWND waitFor(const char* caption, bool anyClass)
{
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND window = find(caption, anyClass)) {
            used.insert(window);
            // The dialog's own initialisation runs before it is shown; give its first paint
            // and focus a moment.
            Sleep(200);
            return window;
        }
        Sleep(50);
    }
    fail(std::string("no window \"") + caption + "\"");
}

// The processes running a program file named name.
std::set<DWORD> processesOf(const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::set<DWORD> found;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, name) == 0)
            found.insert(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

bool running(const char* name)
{
    return !processesOf(name).empty();
}

struct Watch {
    std::set<DWORD> processes;
    HWND seen;
};

BOOL CALLBACK windowOfWatched(HWND window, LPARAM parameter)
{
    auto* watch = reinterpret_cast<Watch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (IsWindowVisible(window) && watch->processes.count(process)) {
        watch->seen = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectWindowOfWatched(HWND window, LPARAM parameter)
{
    auto* windows = reinterpret_cast<std::pair<std::set<DWORD>, std::set<HWND>>*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (windows->first.count(process))
        windows->second.insert(window);
    return TRUE;
}

struct Answers {
    int count = 0;
    int refused = 0;
};

void CALLBACK answered(HWND, UINT, ULONG_PTR data, LRESULT result)
{
    auto* answers = reinterpret_cast<Answers*>(data);
    ++answers->count;
    answers->refused += result == FALSE;
}

std::string exitCodeOf(const std::string& line)
{
    std::string commandLine = line;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        fail("cannot run " + commandLine);
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        fail(commandLine + " did not end");
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return std::to_string(code);
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        auto next = [&]() -> const char* {
            if (i + 1 >= argc)
                fail(command + ": argument missing");
            return argv[++i];
        };
        if (command == "wait") {
            current = waitFor(next(), false);
        } else if (command == "window") {
            current = waitFor(next(), true);
        } else if (command == "expect") {
            HWND item = control(next());
            const std::string expected = next();
            const std::string seen = textOf(item);
            if (seen != expected)
                fail("expected \"" + expected + "\", saw \"" + seen + "\"");
        } else if (command == "seek") {
            const std::string expected = next();
            for (;;) {
                current = waitFor("Trelliq Setup", false);
                const std::string seen = textOf(GetDlgItem(current, 1026));
                if (seen.compare(0, expected.size(), expected) == 0)
                    break;
                std::printf("robot: answered OK to \"%s\"\n", seen.c_str());
                std::fflush(stdout);
                PostMessageA(GetDlgItem(current, IDOK), BM_CLICK, 0, 0);
            }
        } else if (command == "begins") {
            HWND item = control(next());
            const std::string expected = next();
            const std::string seen = textOf(item);
            if (seen.compare(0, expected.size(), expected) != 0)
                fail("expected \"" + expected + "...\", saw \"" + seen + "\"");
        } else if (command == "shown") {
            const char* id = next();
            const bool expected = std::atoi(next()) != 0;
            if ((IsWindowVisible(control(id)) != FALSE) != expected)
                fail(std::string("control ") + id + (expected ? " hidden" : " shown"));
        } else if (command == "set") {
            HWND item = control(next());
            SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(next()));
        } else if (command == "tick") {
            HWND item = control(next());
            SendMessageA(item, BM_SETCHECK, std::atoi(next()) ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (command == "click" || command == "ready") {
            HWND item = control(next());
            DWORD waited = 0;
            for (; !IsWindowEnabled(item) && waited <= timeoutMs; waited += 50)
                Sleep(50);
            if (!IsWindowEnabled(item))
                fail("control never enabled");
            if (command == "click")
                PostMessageA(item, BM_CLICK, 0, 0);
        } else if (command == "gone") {
            DWORD waited = 0;
            for (; IsWindow(current) && IsWindowVisible(current) && waited <= timeoutMs; waited += 50)
                Sleep(50);
            if (IsWindow(current) && IsWindowVisible(current))
                fail("the dialog stayed");
            current = nullptr;
        } else if (command == "absent") {
            const char* caption = next();
            const DWORD ms = std::atoi(next());
            for (DWORD waited = 0; waited <= ms; waited += 50) {
                if (find(caption, false))
                    fail(std::string("unexpected window \"") + caption + "\"");
                Sleep(50);
            }
        } else if (command == "close") {
            if (!current)
                fail("no current window");
            PostMessageA(current, WM_CLOSE, 0, 0);
        } else if (command == "escape") {
            if (!current)
                fail("no current window");
            PostMessageA(current, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(current, WM_KEYUP, VK_ESCAPE, 0);
        } else if (command == "await") {
            const char* name = next();
            DWORD waited = 0;
            for (; running(name) && waited <= timeoutMs; waited += 100)
                Sleep(100);
            if (running(name))
                fail(std::string(name) + " still runs");
        } else if (command == "quiet") {
            const char* name = next();
            DWORD waited = 0;
            for (; !running(name) && waited <= timeoutMs; waited += 10)
                Sleep(10);
            if (!running(name))
                fail(std::string(name) + " never ran");
            int samples = 0;
            for (Watch watch; !(watch.processes = processesOf(name)).empty(); Sleep(50), ++samples) {
                watch.seen = nullptr;
                EnumWindows(windowOfWatched, reinterpret_cast<LPARAM>(&watch));
                if (watch.seen) {
                    char text[256] = "";
                    char windowClass[64] = "";
                    GetWindowTextA(watch.seen, text, sizeof text);
                    GetClassNameA(watch.seen, windowClass, sizeof windowClass);
                    fail(std::string(name) + " shows a window: \"" + text + "\" of class " + windowClass);
                }
            }
            std::printf("robot: no window of %s in %d samples\n", name, samples);
            std::fflush(stdout);
        } else if (command == "exits") {
            const std::string expected = next();
            const std::string seen = exitCodeOf(next());
            if (seen != expected)
                fail("exit code " + seen + ", expected " + expected);
        } else if (command == "endsession") {
            const char* name = next();
            std::pair<std::set<DWORD>, std::set<HWND>> windows(processesOf(name), {});
            EnumWindows(collectWindowOfWatched, reinterpret_cast<LPARAM>(&windows));
            if (windows.second.empty())
                fail(std::string("no window of ") + name);
            Answers answers;
            int asked = 0;
            for (HWND window : windows.second)
                asked += SendMessageCallbackA(window, WM_QUERYENDSESSION, 0, 0, answered,
                                              reinterpret_cast<ULONG_PTR>(&answers)) != FALSE;
            for (HWND window : windows.second)
                SendNotifyMessageA(window, WM_ENDSESSION, TRUE, 0);
            // The answers come as this thread's own sent messages, dispatched while it waits.
            for (DWORD waited = 0; answers.count < asked && waited <= timeoutMs; waited += 10) {
                MSG message;
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageA(&message);
                Sleep(10);
            }
            if (answers.count < asked)
                fail(std::string(name) + " never answered");
            std::printf("robot: %d of %d windows of %s refused the end of the session\n", answers.refused, asked,
                        name);
            std::fflush(stdout);
        } else if (command == "timeout") {
            timeoutMs = std::atoi(next());
        } else if (command == "run") {
            std::string commandLine = next();
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process;
            if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                &process))
                fail("cannot run " + commandLine);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        } else {
            fail("unknown command " + command);
        }
    }
    return 0;
}
