// PaintedWindow: class registration, painting and the status text.
#include "framework/PaintedWindow.h"

#include "framework/Application.h"
#include "framework/WindowFailure.h"

#include <cstring>

PaintedWindow::~PaintedWindow()
{
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

bool PaintedWindow::create(const char* className, const char* title, DWORD style, HWND parent)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        windowClass.lpfnWndProc = staticProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = className;
        if (!RegisterClassA(&windowClass))
            return false;
    }
    HWND window = CreateWindowExA(0, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, parent, nullptr, instance, this);
    rethrowWindowFailure();
    return window != nullptr;
}

void PaintedWindow::onPaint(HDC, const RECT&) {}

bool PaintedWindow::onEraseBackground(HDC)
{
    return DefWindowProcA(hwnd_, WM_ERASEBKGND, 0, 0) != 0;
}

LRESULT PaintedWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        RECT client;
        GetClientRect(hwnd_, &client);
        try {
            onPaint(dc, client);
        } catch (...) {
            EndPaint(hwnd_, &paint);
            throw;
        }
        EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        // Painting into a given dc, as for a picture of the window.
        RECT client;
        GetClientRect(hwnd_, &client);
        onPaint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return onEraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SETMESSAGESTRING:
        if (wParam)
            LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(wParam), status_, sizeof status_);
        else
            lstrcpynA(status_, lParam ? reinterpret_cast<const char*>(lParam) : "", sizeof status_);
        return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        return Application::current().onSessionMessage(message, wParam);
    case WM_SETCURSOR:
        if (Application::current().waitCursorCount() > 0) {
            SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_NCDESTROY:
        // Dialogs made later must not name a destroyed owner.
        if (Application::current().mainWindow() == hwnd_)
            Application::current().setMainWindow(nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK PaintedWindow::staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PaintedWindow* window;
    if (message == WM_NCCREATE) {
        window = static_cast<PaintedWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    } else {
        window = reinterpret_cast<PaintedWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!window)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return window->windowProc(message, wParam, lParam);
    } catch (...) {
        keepWindowFailure();
        // A paint that failed would otherwise be asked for again at once.
        if (message == WM_PAINT)
            ValidateRect(hwnd, nullptr);
        return 0;
    }
}
