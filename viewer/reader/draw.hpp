#pragma once
// Drawing a viewer drawing file into a frame of a picture, to scale.
#include <utility>
#include <vector>

#include "platform/picture.hpp"
#include "viewer/reader/reader.hpp"

namespace kova::viewer {

// Drops the points of a polyline that lie on the straight line between
// their neighbours (within `tolerance`), keeping its ends and every turn.
std::vector<std::pair<double, double>> Straightened(const std::vector<std::pair<double, double>>& points,
                                                    double tolerance);

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
int DrawStyledLine(Picture& p, const Frame& clip, double x1, double y1, double x2, double y2, int lineType);

// Draws every record of d into the frame, scaled uniformly by
// frame.width / d.width (the frame should have the drawing's proportions).
// Lines and boxes are clipped to the clip frame (the frame when not given).
// Markers are circles of their half size around their centre, at least
// kMinMarker in page units; a line shorter than a pen's width is a dot.
void DrawDrawing(const DrawingFile& d, Picture& p, const Frame& frame);
void DrawDrawing(const DrawingFile& d, Picture& p, const Frame& frame, const Frame& clip);

// Smallest radius of a marker on the page (0.6 mm), so that points stay
// visible above the lines drawn through them.
inline constexpr double kMinMarker = 6;

// What a drawing draws, in drawing units, within its frame: the box around
// its records (texts by their cells), widened by a small margin; the whole
// frame when it draws nothing.
struct Extent {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
Extent ExtentOf(const DrawingFile& d);

// The frame of a drawing that a page names but that is not there, or that
// is there but cannot be drawn: its outline and, in the middle, its name
// with "（ファイルなし）" or the reason it cannot be read.
void DrawAbsentDrawing(const std::string& name, Picture& p, const Frame& frame, const std::string& unreadable = {});

// Sets text the drawing way: lower-left corner at (x, y), cells w by h,
// angle 0 or 90 (upward).
void PlaceText(Picture& p, double x, double y, double w, double h, int angle, std::string_view utf8);

}  // namespace kova::viewer
