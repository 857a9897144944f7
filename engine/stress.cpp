#include "engine/stress.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "engine/rounding.hpp"
#include "rules/constants.hpp"

namespace kova::engine {
namespace {

constexpr double kPi = rules::kPi;

double Round(double v) { return round_to_step(v, 0.001, 0); }

double MidDepth(const SoilColumn& col, int i) { return Round((col.top[i] + col.bottom[i]) * 0.5); }

// Uniform strip load q between xl and xr at the given level, at (x, zm).
double UniformStrip(double q, double xl, double xr, double level, double x, double zm) {
    double f = std::atan((x - xl) / (zm - level));
    double g = std::atan((x - xr) / (zm - level));
    double alpha = g - f;
    return q / kPi * (std::sin(alpha) * std::cos(f + g) + alpha);
}

// Triangular strip load, q at its full end (side 0: left), at the level.
double TriangleStrip(double q, double xl, double xr, int side, double level, double x, double zm) {
    const double z = level - zm;
    double a, b;
    if (side == 0) {
        a = std::atan((xl - x) / z);
        b = std::atan((xr - x) / z);
    } else {
        a = std::atan((x - xr) / z);
        b = std::atan((x - xl) / z);
    }
    const double d = a - b;
    if (d == 0) return 0;  // a strip of no width carries nothing
    return q / kPi * (d * std::cos(a) * std::sin(b) / std::sin(d) - std::sin(a) * std::cos(a));
}

// Grading of the column integration: a sub-piece is at most kSpan of its
// distance from the point long, and its base rises at most kRise of that
// distance. Each sub-piece then acts at its mid-base level within far less
// than 0.1 % of its columns, and few are needed: they lengthen with distance.
constexpr double kSpan = 0.25;
constexpr double kRise = 0.01;
constexpr double kShortest = 0.0005;  // metres, where the base passes the point

// Fill on a sloping base at (x, zm): its columns, each acting at its own
// base, integrated in graded sub-pieces of linear thickness on a level base
// at their mid-base level. Columns whose base is not above zm do not load
// it, as a piece whose level is not above it does not.
double ColumnsStress(const CalcInput& in, const PieceLoad& p, double x, double zm) {
    const double w = p.xr - p.xl;
    if (!(w > 0)) return 0;
    const double g = (p.br - p.bl) / w, dq = (p.qr - p.ql) / w;
    const double c = std::fabs(g) * kSpan > kRise ? kRise / std::fabs(g) : kSpan;
    const double lip = std::sqrt(1 + g * g);
    double sum = 0;
    for (double a = p.xl; a < p.xr;) {
        const double d = std::hypot(a - x, p.bl + g * (a - p.xl) - zm);
        const double b = std::min(p.xr, a + std::max(c * d / (1 + c * lip), kShortest));
        const double m = (a + b) / 2, level = p.bl + g * (m - p.xl);
        if (level > zm && !(in.wall_count > 0 && path_blocked(in, m, level, x, zm))) {
            const double qa = p.ql + dq * (a - p.xl), qb = p.ql + dq * (b - p.xl);
            sum += UniformStrip(std::min(qa, qb), a, b, level, x, zm);
            if (qa != qb) sum += TriangleStrip(std::fabs(qb - qa), a, b, qa > qb ? 0 : 1, level, x, zm);
        }
        a = b;
    }
    return sum;
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
    const double margin = 1e-6 * (1 + std::fabs(rx) + std::fabs(x));
    const double lo = std::min(rx, x) - margin, hi = std::max(rx, x) + margin;
    for (int k = 0; k < in.wall_count; ++k) {
        const WallRec& w = in.walls[k];
        // A wall beyond the path's abscissae cannot cross it.
        if (w.x < lo || w.x > hi) continue;
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

BlockLoad prepare_block_load(const CalcInput& in, const PieceSet& pieces, int block) {
    const double gamma = in.blocks[block].unit_weight;
    BlockLoad out;
    out.count = pieces.count;
    for (int k = 0; k < pieces.count; ++k) {
        const StripPiece& p = pieces.pieces[k];
        PieceLoad& l = out.pieces[k];
        l.kind = p.PieceKind;
        l.side = p.Side;
        l.sign = p.Sign;
        l.q = Round(p.Height * gamma);
        if (p.PieceKind == kColumns) {
            l.xl = Round(p.LeftX);
            l.xr = Round(p.LeftX + p.Width);
            l.bl = Round(p.BaseLeft);
            l.br = Round(p.BaseRight);
            l.level = std::max(l.bl, l.br);
            l.ql = Round(p.ThickLeft * gamma);
            l.qr = Round(p.ThickRight * gamma);
        } else if (p.PieceKind == kTriangle) {
            l.level = Round(p.CentroidY - p.Height / 3);
            if (p.Side == 0) {
                l.xl = Round(p.CentroidX - p.Width / 3);
                l.xr = Round(p.CentroidX + 2 * p.Width / 3);
            } else {
                l.xl = Round(p.CentroidX - 2 * p.Width / 3);
                l.xr = Round(p.CentroidX + p.Width / 3);
            }
        } else {
            l.xl = Round(p.CentroidX - p.Width / 2);
            l.xr = Round(p.CentroidX + p.Width / 2);
            l.level = Round(p.CentroidY - p.Height / 2);
        }
    }
    return out;
}

namespace {

// The walls that can block the paths from one load point (rx, ry) to the
// mid-depths of the column at x: path_blocked with the terms that do not
// depend on the depth worked out once. For a wall at w.x, its crossing test
// intersect_segments((rx, ry), (x, zm), (w.x, top), (w.x, bottom)) has
// d1 = A - (zm - ry) * 0 with A = (x - rx) * (bottom - top): for a finite
// depth that is A itself, or a zero, so the wall's t = tnum / d1 is the same
// for every depth. Only u is left to each depth, the same arithmetic on the
// same values: the same answers.
class WallTest {
public:
    WallTest(const CalcInput& in, double rx, double ry, double x) : in_(in), rx_(rx), ry_(ry), x_(x) {
        // Values that are not finite are left to path_blocked itself.
        generic_ = !std::isfinite(rx) || !std::isfinite(ry) || !std::isfinite(x);
        const double margin = 1e-6 * (1 + std::fabs(rx) + std::fabs(x));
        const double lo = std::min(rx, x) - margin, hi = std::max(rx, x) + margin;
        for (int k = 0; k < in.wall_count; ++k) {
            const WallRec& w = in.walls[k];
            if (w.x < lo || w.x > hi) continue;
            // A wall in range counts, even if it cannot cross: a depth that
            // is not finite goes to path_blocked itself.
            near_ = true;
            if (!std::isfinite(w.x) || !std::isfinite(w.top) || !std::isfinite(w.bottom)) generic_ = true;
            const double dy = w.bottom - w.top, dx0 = w.x - w.x;
            const double A = (x - rx) * dy;
            if (std::fabs(A) < 1e-10) continue;
            const double t = ((w.x - rx) * dy - (w.top - ry) * dx0) / A;
            if (t < 0 || t > 1) continue;
            Wall& c = walls_[count_++];
            c.dx0 = dx0;
            c.B = dy * (x - rx);
            c.C = (ry - w.top) * (x - rx);
            c.D = rx - w.x;
        }
    }
    bool blocked(double zm) const {
        if (!near_) return false;
        const double zr = zm - ry_;
        if (generic_ || !std::isfinite(zr)) return path_blocked(in_, rx_, ry_, x_, zm);
        for (int k = 0; k < count_; ++k) {
            const Wall& w = walls_[k];
            const double d2 = w.dx0 * zr - w.B;
            const double u = (w.D * zr - w.C) / d2;
            if (!(u < 0 || u > 1)) return true;
        }
        return false;
    }

private:
    struct Wall {
        double dx0, B, C, D;
    };
    const CalcInput& in_;
    double rx_, ry_, x_;
    bool near_ = false;
    bool generic_ = false;
    int count_ = 0;
    std::array<Wall, kMaxWalls> walls_{};
};

}  // namespace

MidDepths mid_depths(const SoilColumn& col) {
    MidDepths zm{};
    for (int i = 0; i < col.count; ++i) zm[i] = MidDepth(col, i);
    return zm;
}

void embankment_stress(const CalcInput& in, const BlockLoad& load, double x, SoilColumn& col) {
    embankment_stress(in, load, x, mid_depths(col), col);
}

void embankment_stress(const CalcInput& in, const BlockLoad& load, double x, const MidDepths& zm, SoilColumn& col) {
    // Piece after piece, each adding to every layer: every layer gets the
    // same terms in the same order as layer after layer.
    for (int k = 0; k < load.count; ++k) {
        const PieceLoad& p = load.pieces[k];
        if (p.kind == kColumns) {
            for (int i = 0; i < col.count; ++i) col.dp[i] += p.sign * ColumnsStress(in, p, x, zm[i]);
            continue;
        }
        const WallTest walls(in, (p.xl + p.xr) / 2, p.level, x);
        for (int i = 0; i < col.count; ++i) {
            if (!(p.level > zm[i]) || walls.blocked(zm[i])) continue;
            const double ds = p.kind == kTriangle ? TriangleStrip(p.q, p.xl, p.xr, p.side, p.level, x, zm[i])
                                                  : UniformStrip(p.q, p.xl, p.xr, p.level, x, zm[i]);
            col.dp[i] += p.sign * ds;
        }
    }
}

void embankment_stress(const CalcInput& in, const PieceSet& pieces, int block, double x, SoilColumn& col) {
    const BlockLoad load = prepare_block_load(in, pieces, block);
    embankment_stress(in, load, x, col);
}

}  // namespace kova::engine
