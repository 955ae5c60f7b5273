// Frame: creation and the painting of the title window.
#include "ui/Frame.h"

#include "foundation/ProductIdentity.h"
#include "framework/PointFont.h"
#include "foundation/ResourceString.h"
#include "resources/resource.h"
#include "ui/Font.h"
#include "ui/Icon.h"

#include <cstring>

const char Frame::webAddress[] = "www.pembrox.com";

namespace {

// WM_DPICHANGED, spelled out for headers that predate it.
const UINT dpiChangedMessage = 0x02E0;

// Made on the first paint for the window's scale, made again when the scale changes, kept
// until the process ends.
struct DrawingObjects {
    int dpi = 0;
    Font heading;
    Font product;
    Font subtitle;
    Font small;
    Icon logo;
};

DrawingObjects objects;

DrawingObjects& drawingObjects()
{
    return objects;
}

void makeFont(Font& font, HDC dc, int dpi, const char* face, int tenths, int weight, bool italic)
{
    LOGFONTA wanted = {};
    wanted.lfHeight = tenths;
    wanted.lfWeight = weight;
    wanted.lfItalic = italic ? 1 : 0;
    std::strncpy(wanted.lfFaceName, face, sizeof wanted.lfFaceName - 1);
    font.create(pointFont(wanted, dc, dpi));
}

// The height of "|" in the font selected into dc.
int lineHeight(HDC dc)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, "|", 1, &size);
    return size.cy;
}

void drawText(HDC dc, const String& text, int x, int y, COLORREF colour)
{
    RECT point = {x, y, x + 1, y + 1};
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), text.length(), &point, DT_NOPREFIX | DT_NOCLIP);
}

void drawShadowed(HDC dc, int dpi, const Font& font, const String& text, int x, int y, COLORREF colour)
{
    SelectObject(dc, font.handle());
    const int shadow = scaled(3, dpi);
    drawText(dc, text, x + shadow, y + shadow, RGB(0, 0, 0));
    drawText(dc, text, x, y, colour);
}

} // namespace

bool Frame::create()
{
    const String title = loadString(IDS_APPLICATION_TITLE);
    if (!PaintedWindow::create("Frame", title.c_str(), WS_OVERLAPPEDWINDOW))
        return false;
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PRODUCT));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd(), &placement)) {
        const RECT wide = normalPosition(placement.rcNormalPosition);
        if (!EqualRect(&wide, &placement.rcNormalPosition)) {
            placement.rcNormalPosition = wide;
            SetWindowPlacement(hwnd(), &placement);
        }
    }
    return true;
}

RECT Frame::normalPosition(const RECT& given)
{
    if (given.right - given.left >= 640)
        return given;
    return RECT{0, 0, 640, 480};
}

void Frame::onPaint(HDC dc, const RECT& client)
{
    DrawingObjects& objects = drawingObjects();
    const int dpi = windowDpi(hwnd());
    if (objects.dpi != dpi) {
        makeFont(objects.heading, dc, dpi, "Verdana", 200, 700, true);
        makeFont(objects.product, dc, dpi, "Verdana", 500, 700, true);
        makeFont(objects.subtitle, dc, dpi, "Arial", 200, 400, false);
        makeFont(objects.small, dc, dpi, "Arial", 120, 400, false);
        objects.logo.load(IDI_LOGO, Icon::large, dpi);
        objects.dpi = dpi;
    }

    // Bands of 8 pixels (at 96 dpi) from blue to purple, the colour in 8.8 fixed point.
    const int band = scaled(8, dpi);
    const int bands = (client.bottom - client.top) / band + 1;
    int red = 0x3000;
    int green = 0x9000;
    int blue = 0xFF00;
    const int greenStep = -0x8000 / bands;
    const int blueStep = -0xCF00 / bands;
    for (int y = client.top; y < client.bottom; y += band) {
        RECT rect = {client.left, y, client.right, y + band};
        HBRUSH brush = CreateSolidBrush(RGB(red / 256, green / 256, blue / 256));
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        green += greenStep;
        blue += blueStep;
    }

    SetBkMode(dc, TRANSPARENT);
    const COLORREF white = RGB(255, 255, 255);
    const int x = scaled(10, dpi);
    int y = scaled(10, dpi);
    drawShadowed(dc, dpi, objects.product, product::name, x, y, RGB(148, 41, 99));
    y += lineHeight(dc);
    drawShadowed(dc, dpi, objects.subtitle, "Code Coverage Analyzer for C/C++", x, y, white);
    y += 5 * lineHeight(dc) / 4;
    drawShadowed(dc, dpi, objects.small, String("Version ") + loadString(IDS_VERSION), x, y, white);
    y += 2 * lineHeight(dc);
    objects.logo.draw(dc, POINT{x, y});
    drawShadowed(dc, dpi, objects.heading, product::company, x + objects.logo.width(), y, white);
    SelectObject(dc, objects.small.handle());
    y = client.bottom - 3 * lineHeight(dc) / 2;
    drawShadowed(dc, dpi, objects.small, webAddress, x, y, white);
}

LRESULT Frame::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == dpiChangedMessage) {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    }
    return PaintedWindow::windowProc(message, wParam, lParam);
}
