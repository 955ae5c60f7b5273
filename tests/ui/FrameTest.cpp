// Frame: the title window's caption, icon, size and the picture it paints.
#include "tests/robot/Robot.h"
#include "ui/Frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Paints frame's client area, resized to height pixels, into a bitmap and returns its pixels
// (top-down rows of 0x00RRGGBB).
std::vector<DWORD> render(Frame& frame, int width, int height)
{
    RECT outer = {0, 0, width, height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(frame.hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(frame.hwnd(), &client);
    EXPECT_EQ(client.bottom, height);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(frame.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

DWORD rgb(int r, int g, int b)
{
    return static_cast<DWORD>(r << 16 | g << 8 | b);
}

TEST(Frame, CreatesTheTitledWindowAtLeast640Wide)
{
    Frame frame;
    ASSERT_TRUE(frame.create());
    EXPECT_EQ(robot::text(frame.hwnd()), "Trelliq Setup");
    EXPECT_FALSE(IsWindowVisible(frame.hwnd())) << "shown by the application, in install mode only";
    EXPECT_NE(SendMessageA(frame.hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    RECT window;
    GetWindowRect(frame.hwnd(), &window);
    EXPECT_GE(window.right - window.left, 640);
    char className[32] = "";
    GetClassNameA(frame.hwnd(), className, sizeof className);
    EXPECT_STREQ(className, "Frame");
}

// The desktop of the tests is wide enough that the system's default is never narrower than
// 640: the rule is tried on the places a small screen gives.
TEST(Frame, ANarrowDefaultPlaceBecomes640By480AtTheCorner)
{
    const struct {
        RECT given;
        RECT taken;
    } cases[] = {
        {{100, 50, 420, 290}, {0, 0, 640, 480}},
        {{10, 10, 649, 300}, {0, 0, 640, 480}},
        {{0, 0, 0, 0}, {0, 0, 640, 480}},
        {{30, 20, 670, 200}, {30, 20, 670, 200}},
        {{-8, -8, 1032, 776}, {-8, -8, 1032, 776}},
    };
    for (const auto& c : cases) {
        const RECT taken = Frame::normalPosition(c.given);
        EXPECT_TRUE(EqualRect(&taken, &c.taken)) << c.given.left << "," << c.given.top << " " << c.given.right
                                                 << "," << c.given.bottom << " gave " << taken.right << ","
                                                 << taken.bottom;
    }
}

TEST(Frame, PaintsTheBandsAndTheShadowedTexts)
{
    Frame frame;
    ASSERT_TRUE(frame.create());
    const int width = 640;
    std::vector<DWORD> pixels = render(frame, width, 480);
    auto at = [&](int x, int y) { return pixels[y * width + x]; };
    const int right = width - 2;  // no text reaches the right edge
    EXPECT_EQ(at(right, 0), rgb(48, 144, 255)) << std::hex << at(right, 0);
    EXPECT_EQ(at(right, 7), rgb(48, 144, 255));
    EXPECT_EQ(at(right, 472), rgb(48, 20, 54)) << std::hex << at(right, 472);
    EXPECT_EQ(at(right, 479), rgb(48, 20, 54));
    EXPECT_NE(at(right, 464), at(right, 472)) << "a new band every 8 pixels";

    int productColour = 0, shadow = 0, white = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < width; ++x) {
            productColour += at(x, y) == rgb(148, 41, 99);
            shadow += at(x, y) == 0;
            white += at(x, y) == rgb(255, 255, 255) && y > 400;
        }
    EXPECT_GT(productColour, 100) << "the product name";
    EXPECT_GT(shadow, 100) << "the shadows";
    EXPECT_GT(white, 20) << "the web address at the bottom";

    EXPECT_EQ(render(frame, width, 480), pixels) << "a second paint gives the same picture";

    std::vector<DWORD> taller = render(frame, width, 484);
    EXPECT_EQ(taller[480 * width + right], rgb(48, 18, 51)) << std::hex << taller[480 * width + right];
}

} // namespace
