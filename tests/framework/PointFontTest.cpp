// pointFont: tenths of a point become the dc's logical units.
#include "framework/PointFont.h"

#include <gtest/gtest.h>

TEST(PointFont, TenthsOfAPointBecomeLogicalUnitsOfTheDevice)
{
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA font = {};
    font.lfHeight = 200;
    font.lfWeight = 700;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    LOGFONTA pixels = pointFont(font, dc);
    EXPECT_EQ(pixels.lfHeight, -MulDiv(dpi, 200, 720)) << "20 points at " << dpi << " pixels per inch";
    EXPECT_EQ(pixels.lfWeight, 700) << "other fields are kept";

    // In twips (1/1440 inch) 20 points are 400 units, whatever the resolution.
    SetMapMode(dc, MM_TWIPS);
    EXPECT_NEAR(pointFont(font, dc).lfHeight, -400, 400 / dpi + 1);
    DeleteDC(dc);
}
