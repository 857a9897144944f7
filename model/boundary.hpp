#pragma once
// Boundary points and the two line tables.
#include "model/model.hpp"

namespace kova {

// Index of the boundary point nearest to (X, Y) within Tol, or -1. A point
// exactly at Tol is found; of equally near points the last wins; Tol 0
// finds only exact matches.
i16 FindBndPt(const Model& m, double X, double Y, double Tol);

}  // namespace kova
