#pragma once
// Picking the line nearest to a click, tracing the closed region around a
// click over the boundary lines, and registering the traced outline as a
// block.
#include <array>
#include <vector>

#include "model/blocks.hpp"
#include "model/canvas_view.hpp"
#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

using LineTable = std::array<BoundaryLine, kMaxLines + 1>;

// Index of the line of the table nearest to the model point (x, y), -1 when
// the table is empty. At a shared end point the line whose direction makes
// the smallest angle with the direction to the click wins.
i16 NearestLine(const Model& m, const LineTable& lines, i16 count, double x, double y);

// The nearest boundary line (terrain line) to a canvas click into SelIndex.
void PickBndLine(const Model& m, EditorState& ed, float X, float Y);
void PickCutLine(const Model& m, EditorState& ed, float X, float Y);

// 1 when (x, y) lies inside the closed outline (entries 0 to n, entry n
// repeating entry 0), -1 outside, -2 undecided. Orientation does not matter.
i16 PointInRegion(double x, double y, const double* OX, const double* OY, int n);

enum class TraceEnd {
    Closed,    // the walk came back to its start
    Open,      // dead end, repeated vertex or no closure within the steps
};

// The outline walked from a picked line around the region on the click's
// side, always taking the sharpest right turn.
struct Trace {
    TraceEnd end = TraceEnd::Open;
    int n = 0;                // distinct vertices when closed
    std::vector<double> X;    // vertex coordinates; when closed entry n repeats entry 0
    std::vector<double> Y;
    std::vector<i16> pt;      // boundary point of each vertex
    i16 lastLine = -1;        // the line walked last
};

// Walks from line `start` of the table towards the side of (x, y). The
// lines meeting at each point are taken from the table itself (line index
// order, pt1 before pt2), not from the points' Link lists.
Trace TraceRegion(const Model& m, const LineTable& lines, i16 count, i16 start, double x, double y);

// The sum of the turning angles (degrees) seen from (x, y) along a closed
// trace: 360 when a clockwise outline surrounds the point.
double WindingDegrees(const Trace& t, double x, double y);

// Tools 5, 6, 14, 15: trace the region around the click over BndLine and
// store it as a new embankment or soil layer, or as the new outline of the
// picked one. The right button leaves a re-shape tool.
void RegisterBlock(Model& m, EditorState& ed, CanvasView& view, MessageSink& ui, i16 Button, float X,
                   float Y);
// Tools 10 and 16: the same over CutLine for cuts.
void RegisterCutBlock(Model& m, EditorState& ed, CanvasView& view, MessageSink& ui, i16 Button, float X,
                      float Y);

}  // namespace kova
