#pragma once
// Where the controls under the toolbar stand for a window size: the strip
// of tool options, the canvas and its two scroll bars. Pixels in the body
// of the window (below menu and toolbar, above the status bar).
#include <cstdint>

#include "platform/twips.hpp"

namespace kova {

struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct BodyLayout {
    PixelRect strip, canvas, vsb, hsb;
    std::int32_t canvasWidthTwips = 1;   // drawing area less 60, at least 1
    std::int32_t canvasHeightTwips = 1;
};

// A double as a 32-bit integer, truncated toward zero, clamped to the
// range (a non-finite value gives lo).
std::int32_t ClampToInt(double v, std::int32_t lo, std::int32_t hi);

// False (nothing to change) when the outer window is 500 twips wide or
// 2500 twips high or smaller: a minimised window keeps its layout.
bool LayoutApplies(int outerWidthPx, int outerHeightPx, const TwipsScale& s);

// The body's controls for a body of w x h pixels.
BodyLayout ComputeBodyLayout(int bodyWidthPx, int bodyHeightPx, const TwipsScale& s);

}  // namespace kova
