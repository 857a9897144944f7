#pragma once
// The soil column on the vertical at an abscissa: the layers crossed, from
// the top down, their overburden, and the unloading of the cut blocks.
#include "engine/data.hpp"

namespace kova::engine {

// Highest and lowest elevation at which the outline of the polygon with n
// vertices (point numbers) meets the vertical at x, rounded to 0.001; -9999.99
// and 9999.99 when it does not meet it.
void intersect_polygon_vertical(const CalcInput& in, int n, const int* points, double x, double& top,
                                double& bottom);

// Builds the soil column at x; returns the ground level (-9999.99 when the
// vertical crosses no soil layer and no embankment).
double layers_at(const CalcInput& in, SoilColumn& col, double x);

// Effective overburden pressure at each layer's mid-depth.
void overburden_at_layers(const CalcInput& in, SoilColumn& col);

// Builds the cut column at x; returns the unloading U (kN/m2), 0 when the cut
// switch is off.
double cut_unloading_at(const CalcInput& in, CutColumn& cuts, double x);

}  // namespace kova::engine
