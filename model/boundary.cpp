#include "model/boundary.hpp"

#include <cmath>

namespace kova {

i16 FindBndPt(const Model& m, double X, double Y, double Tol) {
    i16 best = -1;
    double limit = Tol;
    double limit2 = Tol * Tol;
    // The window shrinks to the best distance so far; an equal distance
    // passes again, so the last of equally near points wins.
    for (int i = 0; i < m.BndPtCount && i <= kMaxBndPts; ++i) {
        const BoundaryPoint& p = m.BndPt[static_cast<std::size_t>(i)];
        double dx = std::fabs(p.X - X);
        if (dx > limit) continue;
        double dy = std::fabs(p.Y - Y);
        if (dy > limit) continue;
        double d2 = dx * dx + dy * dy;
        if (d2 > limit2) continue;
        best = static_cast<i16>(i);
        limit = std::sqrt(d2);
        limit2 = d2;
    }
    return best;
}

}  // namespace kova
