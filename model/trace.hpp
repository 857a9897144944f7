#pragma once
// The line nearest to a point, and the closed region around a point traced
// over the boundary lines as a block outline.
#include <array>
#include <vector>

#include "model/blocks.hpp"
#include "model/model.hpp"

namespace kova {

using LineTable = std::array<BoundaryLine, kMaxLines + 1>;

// Index of the line of the table nearest to the model point (x, y), -1 when
// the table is empty. At a shared end point the line whose direction makes
// the smallest angle with the direction to the click wins.
i16 NearestLine(const Model& m, const LineTable& lines, i16 count, double x, double y);

// 1 when (x, y) lies inside the closed outline (entries 0 to n, entry n
// repeating entry 0), -1 outside, -2 undecided. Orientation does not matter.
i16 PointInRegion(double x, double y, const double* OX, const double* OY, int n);

enum class TraceEnd {
    Closed,  // the walk came back to its start
    Open,    // dead end, repeated vertex or no closure within the steps
};

// The outline walked from a picked line around the region on the click's
// side, always taking the sharpest right turn.
struct Trace {
    TraceEnd end = TraceEnd::Open;
    int n = 0;              // distinct vertices when closed
    std::vector<double> X;  // vertex coordinates; when closed entry n repeats entry 0
    std::vector<double> Y;
    std::vector<i16> pt;  // boundary point of each vertex
    i16 lastLine = -1;    // the line walked last
};

// Walks from line `start` of the table towards the side of (x, y). The
// lines meeting at each point are taken from the table itself (line index
// order, pt1 before pt2), not from the points' Link lists.
Trace TraceRegion(const Model& m, const LineTable& lines, i16 count, i16 start, double x, double y);

// The sum of the turning angles (degrees) seen from (x, y) along a closed
// trace: 360 when a clockwise outline surrounds the point.
double WindingDegrees(const Trace& t, double x, double y);

// The outline of the region around (x, y) from the nearest line of the
// table: Closed with the outline, or why there is none. lastLine is the line
// walked last (-1 when the table has no line).
enum class RegionEnd { NoLine, Open, Outside, TooManyVertices, Closed };
struct Region {
    RegionEnd end = RegionEnd::NoLine;
    i16 lastLine = -1;
    Outline outline;
};
Region OutlineAround(const Model& m, const LineTable& lines, i16 count, double x, double y);

}  // namespace kova
