#include "engine/stress.hpp"

#include <cmath>
#include <utility>

#include "engine/rounding.hpp"

namespace kova::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Round(double v) { return round_to_step(v, 0.001, 0); }

double MidDepth(const SoilColumn& col, int i) { return Round((col.top[i] + col.bottom[i]) * 0.5); }

// Uniform strip load q between xl and xr at the given level, at (x, zm).
double UniformStrip(double q, double xl, double xr, double level, double x, double zm) {
    double f = std::atan((x - xl) / (zm - level));
    double g = std::atan((x - xr) / (zm - level));
    double alpha = g - f;
    return q / kPi * (std::sin(alpha) * std::cos(f + g) + alpha);
}

// Point (power 5, coefficient 3P/2pi) and line loads (power 4, 2q/pi).
void ConcentratedLoad(const CalcInput& in, const LoadRec& l, double x, SoilColumn& col, bool point) {
    const double dx = std::fabs(x - l.x1);
    for (int i = 0; i < col.count; ++i) {
        const double zm = MidDepth(col, i);
        if (!(zm < l.y1)) continue;
        const double z = l.y1 - zm;
        const double r = Round(std::sqrt(dx * dx + z * z));
        if (r == 0 || path_blocked(in, l.x1, l.y1, x, zm)) continue;
        if (point)
            col.dp[i] += 3 * l.load / (2 * kPi) * z * z * z / std::pow(r, 5);
        else
            col.dp[i] += 2 * l.load / kPi * z * z * z / std::pow(r, 4);
    }
}

}  // namespace

bool path_blocked(const CalcInput& in, double rx, double ry, double x, double zm) {
    for (int k = 0; k < in.wall_count; ++k) {
        const WallRec& w = in.walls[k];
        Pt hit;
        if (intersect_segments(Pt{rx, ry}, Pt{x, zm}, Pt{w.x, w.top}, Pt{w.x, w.bottom}, hit) == 0) return true;
    }
    return false;
}

void point_load_stress(const CalcInput& in, int load, double x, SoilColumn& col) {
    ConcentratedLoad(in, in.point_loads[load], x, col, true);
}

void line_load_stress(const CalcInput& in, int load, double x, SoilColumn& col) {
    ConcentratedLoad(in, in.line_loads[load], x, col, false);
}

void strip_load_stress(const CalcInput& in, int load, double x, SoilColumn& col) {
    const LoadRec& l = in.strip_loads[load];
    // Entered right to left, the strip acts as the same strip left to right.
    double x1 = l.x1, x2 = l.x2;
    if (x1 > x2) std::swap(x1, x2);
    const double level = Round((l.y1 + l.y2) * 0.5);
    const double rx = (x1 + x2) / 2;
    for (int i = 0; i < col.count; ++i) {
        const double zm = MidDepth(col, i);
        if (!(zm < level) || path_blocked(in, rx, level, x, zm)) continue;
        col.dp[i] += UniformStrip(l.load, x1, x2, level, x, zm);
    }
}

void embankment_stress(const CalcInput& in, const PieceSet& pieces, int block, double x, SoilColumn& col) {
    const double gamma = in.blocks[block].unit_weight;
    for (int i = 0; i < col.count; ++i) {
        const double zm = MidDepth(col, i);
        for (int k = 0; k < pieces.count; ++k) {
            const StripPiece& p = pieces.pieces[k];
            const double q = Round(p.Height * gamma);
            double xl, xr, level, ds;
            if (p.PieceKind == kTriangle) {
                level = Round(p.CentroidY - p.Height / 3);
                if (!(level > zm)) continue;
                const double z = level - zm;
                double a, b;
                if (p.Side == 0) {
                    xl = Round(p.CentroidX - p.Width / 3);
                    xr = Round(p.CentroidX + 2 * p.Width / 3);
                    a = std::atan((xl - x) / z);
                    b = std::atan((xr - x) / z);
                } else {
                    xl = Round(p.CentroidX - 2 * p.Width / 3);
                    xr = Round(p.CentroidX + p.Width / 3);
                    a = std::atan((x - xr) / z);
                    b = std::atan((x - xl) / z);
                }
                const double d = a - b;
                if (d == 0) continue;  // a strip of no width carries nothing
                ds = q / kPi * (d * std::cos(a) * std::sin(b) / std::sin(d) - std::sin(a) * std::cos(a));
            } else {
                xl = Round(p.CentroidX - p.Width / 2);
                xr = Round(p.CentroidX + p.Width / 2);
                level = Round(p.CentroidY - p.Height / 2);
                if (!(level > zm)) continue;
                ds = UniformStrip(q, xl, xr, level, x, zm);
            }
            if (path_blocked(in, (xl + xr) / 2, level, x, zm)) continue;
            col.dp[i] += p.Sign * ds;
        }
    }
}

}  // namespace kova::engine
