// A stand-in for the product's Coverage Browser: one window titled "Coverage Browser", or
// "Coverage Browser - " and the file when started with a .trq file; it closes normally.
#include <windows.h>

#include <cstring>

namespace {

const char className[] = "TrelliqCoverageBrowser";

// The first argument of the command line, without its quotes, cut to fit argument; empty
// when there is none.
void firstArgument(const char* line, char* argument, size_t size)
{
    bool quoted = false;
    while (*line && (quoted || (*line != ' ' && *line != '\t'))) {
        if (*line == '"')
            quoted = !quoted;
        ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    size_t length = 0;
    quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line) {
        if (*line == '"')
            quoted = !quoted;
        else if (length + 1 < size)
            argument[length++] = *line;
    }
    argument[length] = '\0';
}

bool isCoverageFile(const char* name)
{
    const size_t length = std::strlen(name);
    return length > 4 && lstrcmpiA(name + length - 4, ".trq") == 0;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const char text[] = "Trelliq Coverage Browser (demo)";
        TextOutA(dc, 10, 10, text, static_cast<int>(std::strlen(text)));
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass))
        return 1;

    char file[MAX_PATH];
    firstArgument(GetCommandLineA(), file, sizeof file);
    char title[MAX_PATH + 32] = "Coverage Browser";
    if (isCoverageFile(file)) {
        lstrcatA(title, " - ");
        lstrcatA(title, file);
    }
    HWND window = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
