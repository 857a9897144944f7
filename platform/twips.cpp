#include "platform/twips.hpp"

#include <cmath>

namespace kova {

TwipsScale TwipsScale::ForDpi(double dpiX, double dpiY) {
    TwipsScale s;
    if (dpiX > 0) s.perPixelX = kTwipsPerInch / dpiX;
    if (dpiY > 0) s.perPixelY = kTwipsPerInch / dpiY;
    return s;
}

long RoundHalfEven(double v) {
    double f = std::floor(v);
    double diff = v - f;
    if (diff < 0.5) return static_cast<long>(f);
    if (diff > 0.5) return static_cast<long>(f) + 1;
    long lf = static_cast<long>(f);
    return (lf % 2 == 0) ? lf : lf + 1;
}

int TwipsScale::ToPixelsX(double twips) const { return static_cast<int>(RoundHalfEven(twips / perPixelX)); }
int TwipsScale::ToPixelsY(double twips) const { return static_cast<int>(RoundHalfEven(twips / perPixelY)); }

Rgb PaletteColour(int n) {
    static const Rgb kPalette[16] = {
        {0, 0, 0},       {0, 0, 128},     {0, 128, 0},     {0, 128, 128},
        {128, 0, 0},     {128, 0, 128},   {128, 128, 0},   {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
        {255, 0, 0},     {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
    };
    if (n < 0 || n > 15) return {};
    return kPalette[n];
}

}  // namespace kova
