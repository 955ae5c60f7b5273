// Font and Icon: point fonts, the best image of an icon group, loading and drawing.
#include "resources/resource.h"
#include "ui/Font.h"
#include "ui/Icon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// An icon group header with images of the given sizes.
struct Group {
    BYTE bytes[6 + 14 * 4] = {};
    Group(std::initializer_list<std::pair<int, int>> sizes)
    {
        bytes[2] = 1;
        bytes[4] = static_cast<BYTE>(sizes.size());
        int i = 0;
        for (auto size : sizes) {
            bytes[6 + 14 * i] = static_cast<BYTE>(size.first);
            bytes[6 + 14 * i + 1] = static_cast<BYTE>(size.second);
            ++i;
        }
    }
};

TEST(Icon, BestImageIsTheNearestAndTheEarlierOfEquals)
{
    int width = 0, height = 0;
    EXPECT_EQ(Icon::bestImage(Group{{16, 16}, {32, 32}}.bytes, 32, 32, &width, &height), 1);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 32);
    EXPECT_EQ(Icon::bestImage(Group{{16, 16}, {48, 48}}.bytes, 32, 32, &width, &height), 0) << "equal distances";
    EXPECT_EQ(width, 16);
    EXPECT_EQ(Icon::bestImage(Group{{48, 48}, {16, 16}}.bytes, 32, 32, &width, &height), 0) << "equal distances";
    EXPECT_EQ(width, 48);
    EXPECT_EQ(Icon::bestImage(Group{{32, 16}, {16, 32}, {24, 24}}.bytes, 24, 24, &width, &height), 2);
    EXPECT_EQ(Icon::bestImage(Group{}.bytes, 32, 32, &width, &height), -1);
}

TEST(Icon, LoadsTheBestImageAndDrawsIt)
{
    Icon product;
    product.load(IDI_PRODUCT, Icon::large);
    EXPECT_EQ(product.width(), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(product.height(), GetSystemMetrics(SM_CYICON));
    Icon small;
    small.load(IDI_PRODUCT, Icon::small);
    EXPECT_EQ(small.width(), 16);
    // The icon-title font is about 11 pixels high: 16 is the nearer image.
    LOGFONTA titleFont = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof titleFont, &titleFont, 0);
    ASSERT_LT(std::abs(titleFont.lfHeight), 24);
    Icon text;
    text.load(IDI_PRODUCT, Icon::text);
    EXPECT_EQ(text.width(), 16);
    EXPECT_EQ(text.height(), 16);

    Icon logo;
    logo.load(IDI_LOGO, Icon::large);
    EXPECT_EQ(logo.width(), 48) << "the only image, whatever the size asked for";
    EXPECT_EQ(logo.height(), 48);

    // Drawn on white, the logo's orange disc shows in the middle, the corners stay white.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    SelectObject(dc, bitmap);
    RECT all = {0, 0, 64, 64};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    logo.draw(dc, POINT{8, 8});
    const COLORREF middle = GetPixel(dc, 8 + 12, 8 + 24);
    EXPECT_GT(GetRValue(middle), 200);
    EXPECT_LT(GetBValue(middle), 80);
    EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 255, 255));
    DeleteDC(dc);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);

    Icon missing;
    try {
        missing.load(999, Icon::large);
        ADD_FAILURE() << "loaded";
    } catch (const ::Exception& failure) {
        EXPECT_EQ(std::strncmp(failure.message().c_str(), "Icon error: LoadImage failure", 29), 0)
            << failure.message().c_str();
    }
    try {
        missing.draw(GetDC(nullptr), POINT{0, 0});
        ADD_FAILURE() << "drawn";
    } catch (const Icon::Exception& failure) {
        EXPECT_EQ(std::strncmp(failure.message().c_str(), "Icon error: DrawIconEx failure", 30), 0);
    }
}

TEST(Font, PointFontsAreMadeForTheDevice)
{
    HDC dc = GetDC(nullptr);
    LOGFONTA wanted = {};
    wanted.lfHeight = 200;
    wanted.lfWeight = 700;
    wanted.lfItalic = 1;
    std::strcpy(wanted.lfFaceName, "Verdana");
    Font font;
    font.createPointFont(wanted, dc);
    ASSERT_TRUE(font.exists());
    LOGFONTA made = {};
    GetObjectA(font.handle(), sizeof made, &made);
    EXPECT_EQ(made.lfHeight, -MulDiv(GetDeviceCaps(dc, LOGPIXELSY), 200, 720));
    EXPECT_EQ(made.lfItalic, 1);
    EXPECT_STREQ(made.lfFaceName, "Verdana");
    ReleaseDC(nullptr, dc);
}

} // namespace
