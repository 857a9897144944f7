#include <gtest/gtest.h>

#include "platform/twips.hpp"

using namespace kova;

namespace {

TEST(Twips, ScaleFromLogicalDpi) {
    struct Case {
        double dpi, perPixel;
    } cases[] = {{96, 15}, {120, 12}, {144, 10}, {192, 7.5}};
    for (const Case& c : cases) {
        TwipsScale s = TwipsScale::ForDpi(c.dpi, c.dpi);
        EXPECT_DOUBLE_EQ(s.perPixelX, c.perPixel);
        EXPECT_DOUBLE_EQ(s.perPixelY, c.perPixel);
    }
    TwipsScale bad = TwipsScale::ForDpi(0, -5);  // no DPI known: keep 15
    EXPECT_DOUBLE_EQ(bad.perPixelX, 15);
    EXPECT_DOUBLE_EQ(bad.perPixelY, 15);
}

TEST(Twips, PixelsRoundHalvesToEven) {
    TwipsScale s;  // 15 twips per pixel
    struct Case {
        double twips;
        int px;
    } cases[] = {{0, 0},     {15, 1},   {4800, 320}, {3000, 200}, {22.5, 2},  // 1.5 -> 2
                 {37.5, 2},  // 2.5 -> 2
                 {52.5, 4},  // 3.5 -> 4
                 {22.4, 1},  {-22.5, -2}, {-37.5, -2}, {-52.5, -4}, {585, 39}, {3630, 242}};
    for (const Case& c : cases) {
        EXPECT_EQ(s.ToPixelsX(c.twips), c.px) << c.twips;
        EXPECT_EQ(s.ToPixelsY(c.twips), c.px) << c.twips;
    }
    EXPECT_DOUBLE_EQ(s.ToTwipsX(800), 12000);
    EXPECT_DOUBLE_EQ(s.ToTwipsY(600), 9000);
}

TEST(Palette, SixteenStandardColours) {
    const Rgb want[16] = {
        {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128}, {128, 0, 0},     {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PaletteColour(i), want[i]) << i;
    EXPECT_EQ(PaletteColour(-1), (Rgb{0, 0, 0}));
    EXPECT_EQ(PaletteColour(16), (Rgb{0, 0, 0}));
}

}  // namespace
