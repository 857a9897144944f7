#pragma once
// Segment crossing and clipping, shared by the calculation, the section
// model and the two drawings (screen and page).

namespace kova::rules {

struct Pt {
    double x = 0;
    double y = 0;
};

// Cross product of the vectors p1->p2 and q1->q2.
double CrossProduct(Pt p1, Pt p2, Pt q1, Pt q2);

// Crossing of the lines through a-b and c-d. Returns -1 for parallel lines
// (out untouched), otherwise writes the crossing to out and returns 0 plus 1
// when it lies off a-b plus 2 when it lies off c-d (the ends count as on the
// segment). The point comes from the parameter of smaller magnitude.
int IntersectSegments(Pt a, Pt b, Pt c, Pt d, Pt& out);

// Liang-Barsky: cuts the segment to the box [left, right] x [top, bottom];
// false when nothing of it lies inside or a coordinate is not finite.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
                 double bottom);

}  // namespace kova::rules
