#include <gtest/gtest.h>

#include "platform/twips.hpp"

using namespace kova;

namespace {

TEST(Twips, ScaleFromLogicalDpiAndPixelsRoundHalvesToEven) {
    for (double dpi : {96.0, 120.0, 192.0}) EXPECT_DOUBLE_EQ(TwipsScale::ForDpi(dpi, dpi).perPixelY, 1440 / dpi);
    EXPECT_DOUBLE_EQ(TwipsScale::ForDpi(0, -5).perPixelX, 15);  // no DPI known: keep 15
    TwipsScale s;  // 15 twips per pixel
    struct Case {
        double twips;
        int px;
    } cases[] = {{15, 1}, {22.5, 2}, {37.5, 2}, {52.5, 4}, {22.4, 1}, {-37.5, -2}, {-52.5, -4}, {3630, 242}};
    for (const Case& c : cases) {
        EXPECT_EQ(s.ToPixelsX(c.twips), c.px) << c.twips;
        EXPECT_EQ(s.ToPixelsY(c.twips), c.px) << c.twips;
    }
    EXPECT_DOUBLE_EQ(s.ToTwipsX(800), 12000);
    EXPECT_DOUBLE_EQ(s.ToTwipsY(600), 9000);
}

TEST(Palette, SixteenStandardColours) {
    const Rgb want[16] = {
        {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128}, {128, 0, 0}, {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},   {0, 255, 0}, {0, 255, 255},
        {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PaletteColour(i), want[i]) << i;
    EXPECT_EQ(PaletteColour(16), (Rgb{0, 0, 0}));
}

}  // namespace
