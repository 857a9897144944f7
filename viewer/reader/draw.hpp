#pragma once
// Drawing a viewer drawing file into a frame of a picture, to scale.
#include "platform/picture.hpp"
#include "viewer/reader/reader.hpp"

namespace kova::viewer {

// What a surface needs besides kova::Picture to set text the way drawing
// records ask: each character cell `width` wide for a full-width character
// (half of it for a half-width one) and `height` high, the text turned by
// `angle` degrees counter-clockwise about the point given to Picture::Text
// (its top-left corner before turning). A picture without it keeps its own
// font and draws every text unturned.
class TextCells {
public:
    virtual ~TextCells() = default;
    virtual void SetTextCell(double width, double height, int angle) = 0;
};

struct Frame {
    double x = 0, y = 0, width = 0, height = 0;
};

// Dash patterns of the line type codes, in picture units: dash, gap (and
// for the dash-dot type a dot and a gap).
inline constexpr double kDash = 24, kDashGap = 12;
inline constexpr double kLongDash = 40, kDotGap = 9, kDot = 6;

// Line width in pixels of a pen code: 1 thin, 2 thick, others thin.
int PenWidth(int pen);

// Draws a line of a line type code as solid pieces (1 dashed, 3 dash-dot,
// everything else solid), clipped to the frame. Returns the pieces drawn.
int DrawStyledLine(Picture& p, const Frame& clip, double x1, double y1, double x2, double y2,
                   int lineType);

// Draws every record of d into the frame, scaled uniformly by
// frame.width / d.width (the frame should have the drawing's proportions).
// Lines and boxes are clipped to the frame. Markers are circles of their
// half size around their centre.
void DrawDrawing(const DrawingFile& d, Picture& p, const Frame& frame);

// The frame of a drawing that a page names but that is not there: its
// outline and its name in the middle.
void DrawAbsentDrawing(const std::string& name, Picture& p, const Frame& frame);

// Sets text the drawing way: lower-left corner at (x, y), cells w by h,
// angle 0 or 90 (upward).
void PlaceText(Picture& p, double x, double y, double w, double h, int angle, std::string_view utf8);

}  // namespace kova::viewer
