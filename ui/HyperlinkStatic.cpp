// HyperlinkStatic: the underlined font, the colour, the click, the status text and cursor.
#include "ui/HyperlinkStatic.h"

#include "framework/PaintedWindow.h"
#include "host/OpenDocument.h"
#include "host/SystemMetrics.h"

namespace {
const UINT_PTR statusTimer = 1;
}

HyperlinkStatic::HyperlinkStatic() : cursor_(LoadCursorA(GetModuleHandleA(nullptr), "IDC_HAND")) {}

bool HyperlinkStatic::attach(int id, HWND dialog)
{
    if (!subclassDlgItem(id, dialog))
        return false;
    // The dialog gave the control its font before we were attached; give it again so that
    // the underlined copy is made.
    SendMessageA(hwnd(), WM_SETFONT, SendMessageA(hwnd(), WM_GETFONT, 0, 0), TRUE);
    return true;
}

void HyperlinkStatic::followLink()
{
    openDocument(linkText());
}

String HyperlinkStatic::linkText() const
{
    char text[1024] = "";
    const int length = GetWindowTextA(hwnd(), text, sizeof text);
    return String(text, length);
}

LRESULT HyperlinkStatic::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT: {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(wParam), sizeof font, &font);
        font.lfUnderline = 1;
        linkFont_.create(font);
        return defaultProc(WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.handle()), lParam);
    }
    case reflected(WM_CTLCOLORSTATIC): {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)));
        SetTextColor(dc, sysColor(COLOR_HOTLIGHT));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_LBUTTONDOWN:
        followLink();
        return 0;
    case WM_MOUSEMOVE: {
        const LRESULT result = defaultProc(message, wParam, lParam);
        if (statusFrame_)
            SendMessageA(statusFrame_, WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(linkText().c_str()));
        SetTimer(hwnd(), statusTimer, 250, nullptr);
        return result;
    }
    case WM_TIMER:
        if (wParam != statusTimer)
            break;
        KillTimer(hwnd(), statusTimer);
        {
            POINT cursor;
            RECT control;
            GetCursorPos(&cursor);
            GetWindowRect(hwnd(), &control);
            if (!PtInRect(&control, cursor) && statusFrame_)
                SendMessageA(statusFrame_, WM_SETMESSAGESTRING, idleMessageId, 0);
        }
        return 0;
    case WM_SETCURSOR:
        SetCursor(cursor_);
        return TRUE;
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}
