#pragma once
// Window geometry and drawing coordinates in twips (1/1440 inch) and the
// 16-colour palette that drawings name by number.
#include <cstdint>

namespace kova {

inline constexpr int kTwipsPerInch = 1440;

// Twips per device pixel in each direction: 1440 / logical DPI, so 15 at
// 96 DPI (the value tests use).
struct TwipsScale {
    double perPixelX = 15.0;
    double perPixelY = 15.0;

    static TwipsScale ForDpi(double dpiX, double dpiY);

    // Twips to pixels, rounded to the nearest pixel, halves to even.
    int ToPixelsX(double twips) const;
    int ToPixelsY(double twips) const;
    double ToTwipsX(double pixels) const { return pixels * perPixelX; }
    double ToTwipsY(double pixels) const { return pixels * perPixelY; }
};

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
long RoundHalfEven(double v);

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Colour n (0 to 15) of the standard 16-colour palette; any other number
// gives black rather than reading outside the table.
Rgb PaletteColour(int n);

}  // namespace kova
