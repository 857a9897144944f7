#include "engine/strips.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/errors.hpp"
#include "engine/stress.hpp"
#include "rules/constants.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

constexpr double kPi = rules::kPi;
constexpr double kEq = 0.0001;    // equality (millimetres)
constexpr double kDiff = 0.001;   // a clear difference (millimetres)

struct Work {
    int n = 0;
    double x[kMaxDivisionVertices];
    double y[kMaxDivisionVertices];
    bool removed[kMaxDivisionVertices];
};

struct Corners {
    double xL, xR, yTL, yTR, yBL, yBR;
};

void Compact(Work& w) {
    int k = 0;
    for (int i = 0; i < w.n; ++i) {
        if (w.removed[i]) continue;
        w.x[k] = w.x[i];
        w.y[k] = w.y[i];
        w.removed[k] = false;
        ++k;
    }
    w.n = k;
}

// Marks the first vertex that lies on the straight line of its neighbours.
bool RemoveOneCollinear(Work& w) {
    double dev = 1;  // undefined deviation: keep the vertex
    for (int i = 0; i < w.n; ++i) {
        int p = (i + w.n - 1) % w.n, s = (i + 1) % w.n;
        double dxs = w.x[s] - w.x[p], dys = w.y[s] - w.y[p];
        double dxw = w.x[i] - w.x[p], dyw = w.y[i] - w.y[p];
        if (std::fabs(dys) > kDiff) dev = dxs * dyw / dys - dxw;
        if (std::fabs(dyw) > kDiff) dev = dxw * dys / dyw - dxs;
        bool vertical = std::fabs(dxs) < kEq && std::fabs(dxw) < kEq;
        bool horizontal = std::fabs(dys) < kEq && std::fabs(dyw) < kEq;
        if (vertical || horizontal || std::fabs(dev) < kEq) {
            w.removed[i] = true;
            return true;
        }
    }
    return false;
}

double Angle(double fx, double fy, double px, double py) { return std::atan2(py - fy, px - fx); }

double Wrap(double a) {
    if (a < -kPi) a += 2 * kPi;
    if (a > kPi) a -= 2 * kPi;
    return a;
}

// Winding of the slice's corners seen from (fx, fy).
double SliceWinding(const Corners& c, double fx, double fy) {
    const double cx[4] = {c.xL, c.xL, c.xR, c.xR};
    const double cy[4] = {c.yBL, c.yTL, c.yTR, c.yBR};
    double sum = 0;
    for (int k = 0; k < 4; ++k) {
        int m = (k + 1) % 4;
        sum += Wrap(Angle(fx, fy, cx[m], cy[m]) - Angle(fx, fy, cx[k], cy[k]));
    }
    return sum;
}

void Emit(PieceSet& out, MessageSink& messages, const Corners& c, int kind, int side, double height,
          double cy, int sign) {
    StripPiece& p = out.pieces[out.count];
    p = StripPiece{};
    double cx;
    if (kind == kRectangle)
        cx = (c.xL + c.xR) / 2;
    else
        cx = side == 0 ? (2 * c.xL + c.xR) / 3 : (c.xL + 2 * c.xR) / 3;
    p.CentroidX = cx / 1000;
    p.CentroidY = cy / 1000;
    p.Width = (c.xR - c.xL) / 1000;
    p.Height = height / 1000;
    p.PieceKind = kind;
    p.Side = kind == kRectangle ? 0 : side;
    p.Sign = sign;
    p.LeftX = c.xL / 1000;
    ++out.count;
    check_division_limit(out.count, messages);
}

// A slice on a sloping base: one piece whose columns are integrated, each
// at its own base. Strip pieces cannot carry it: added and subtracted
// pieces would act at different levels and not cancel.
void EmitColumns(PieceSet& out, MessageSink& messages, const Corners& c) {
    Emit(out, messages, c, kColumns, 0, std::max(c.yTL - c.yBL, c.yTR - c.yBR), (c.yTL + c.yTR + c.yBL + c.yBR) / 4, 1);
    StripPiece& p = out.pieces[out.count - 1];
    p.CentroidX = (c.xL + c.xR) / 2000;
    p.BaseLeft = c.yBL / 1000;
    p.BaseRight = c.yBR / 1000;
    p.ThickLeft = (c.yTL - c.yBL) / 1000;
    p.ThickRight = (c.yTR - c.yBR) / 1000;
}

// Every piece acts at its own bottom, so a slice is carried by strip pieces
// only where those bottoms are the slice's base: the rectangle and the top
// triangle of a level base, and the triangle whose apex lies on its base.
void EmitSlice(PieceSet& out, MessageSink& messages, const Corners& c) {
    const double yTL = c.yTL, yTR = c.yTR, yBL = c.yBL, yBR = c.yBR;
    const bool leftHeight = std::fabs(yTL - yBL) >= kEq;
    const bool rightHeight = std::fabs(yTR - yBR) >= kEq;
    const bool levelBase = std::fabs(yBR - yBL) <= kDiff;
    if (leftHeight && rightHeight && levelBase) {
        const double base = std::max(yBL, yBR), topLo = std::min(yTL, yTR), topHi = std::max(yTL, yTR);
        // The top triangle rests on the rectangle's top but loads the base.
        if (std::fabs(yTR - yTL) > kDiff)
            Emit(out, messages, c, kTriangle, yTL <= yTR ? 1 : 0, topHi - topLo, base + (topHi - topLo) / 3, 1);
        if (std::fabs(topLo - base) > kDiff)
            Emit(out, messages, c, kRectangle, 0, topLo - base, (topLo + base) / 2, 1);
    } else if (!leftHeight && std::fabs(yTR - yBR) > kDiff && std::fabs(yTL - yBR) < kEq) {
        // Apex on the left, at the level of a level base.
        Emit(out, messages, c, kTriangle, 1, yTR - yBR, (yTL + yTR + yBR) / 3, 1);
    } else if (!rightHeight && std::fabs(yTL - yBL) > kDiff && std::fabs(yTR - yBL) < kEq) {
        // Apex on the right, at the level of a level base.
        Emit(out, messages, c, kTriangle, 0, yTL - yBL, (yTL + yBL + yTR) / 3, 1);
    } else if ((leftHeight || rightHeight) && std::fabs((yTL - yBL) + (yTR - yBR)) > kDiff) {
        EmitColumns(out, messages, c);
    }
}

// y at abscissa x on the line through (ax, ay) and (bx, by).
double LineY(double ax, double ay, double bx, double by, double x) {
    return ay + (by - ay) * (x - ax) / (bx - ax);
}

// Tries to cut one slice off a local end of the polygon. On success the
// polygon has lost the slice and c holds its corners.
bool CutSlice(Work& w, Corners& c) {
    const int n = w.n;
    for (int iw = 0; iw < n; ++iw) {
        const double xw = w.x[iw], yw = w.y[iw];
        // K and s: the nearest vertices before and after w off w's abscissa.
        int K = -1, s = -1, r0 = iw, r1 = iw;
        for (int step = 1; step < n; ++step) {
            int j = (iw - step + n) % n;
            if (std::fabs(w.x[j] - xw) > kDiff) {
                K = j;
                break;
            }
            r0 = j;
        }
        for (int step = 1; step < n; ++step) {
            int j = (iw + step) % n;
            if (std::fabs(w.x[j] - xw) > kDiff) {
                s = j;
                break;
            }
            r1 = j;
        }
        if (K < 0 || s < 0) continue;
        const double dK = w.x[K] - xw, dS = w.x[s] - xw;
        const double a = (w.y[K] - yw) / dK - (w.y[s] - yw) / dS;
        const bool leftEnd = dK > 0 && dS > 0;
        const bool rightEnd = dK < 0 && dS < 0;
        if (!(leftEnd || rightEnd) || !(std::fabs(a) < kEq || a < 0)) continue;

        Work saved = w;
        const double xK = w.x[K], yK = w.y[K], xs = w.x[s], ys = w.y[s];
        const double xr0 = w.x[r0], yr0 = w.y[r0], yr1 = w.y[r1];
        // Mark the run (r0 .. r1, cyclically).
        for (int j = r0;; j = (j + 1) % n) {
            w.removed[j] = true;
            if (j == r1) break;
        }
        double cut, yKside, ySside;  // cut abscissa and the edges' y there
        if (std::fabs(xK - xs) < kEq) {
            cut = xK;
            yKside = yK;
            ySside = ys;
        } else if (std::fabs(xK - xw) < std::fabs(xs - xw)) {
            cut = xK;
            yKside = yK;
            ySside = LineY(xr0, yr1, xs, ys, xK);
            w.removed[r1] = false;
            w.x[r1] = xK;
            w.y[r1] = ySside;
        } else {
            cut = xs;
            ySside = ys;
            yKside = LineY(xK, yK, xr0, yr0, xs);
            w.removed[r0] = false;
            w.x[r0] = xs;
            w.y[r0] = yKside;
        }
        if (rightEnd)
            c = Corners{cut, xw, yKside, yr0, ySside, yr1};
        else
            c = Corners{xw, cut, yr1, ySside, yr0, yKside};

        bool valid = true;
        for (int f = 0; f < n && valid; ++f) {
            if (f == K || f == s || saved.removed[f]) continue;
            bool inRun = false;
            for (int j = r0;; j = (j + 1) % n) {
                if (j == f) inRun = true;
                if (j == r1) break;
            }
            if (inRun) continue;
            const double xf = saved.x[f], yf = saved.y[f];
            if (xf < c.xL || xf > c.xR) continue;
            if (std::fabs(SliceWinding(c, xf, yf)) <= kPi) continue;
            const int succ = classify_in_interval(c.xL, c.xR, saved.x[(f + 1) % n]);
            const int pred = classify_in_interval(c.xL, c.xR, saved.x[(f + n - 1) % n]);
            if (std::fabs(xf - c.xL) < kEq && succ <= 1 && pred <= 1) continue;
            if (std::fabs(xf - c.xR) < kEq && succ == 3 && pred <= 3) continue;
            valid = false;
        }
        if (valid) return true;
        w = saved;
    }
    return false;
}

void SortPieces(PieceSet& out) {
    auto& p = out.pieces;
    for (int i = 0; i < out.count; ++i) {
        for (int j = i + 1; j < out.count; ++j) {
            if (p[i].LeftX > p[j].LeftX || (p[i].LeftX == p[j].LeftX && p[i].CentroidY <= p[j].CentroidY))
                std::swap(p[i], p[j]);
        }
    }
}

}  // namespace

int classify_in_interval(double a, double b, double c) {
    if (std::fabs(c - a) < 0.0001) return 1;
    if (std::fabs(c - b) < 0.0001) return 3;
    if (c < a) return 0;
    if (c <= b) return 2;
    return 4;
}

void check_division_limit(int count, MessageSink& messages) {
    if (count < kMaxPieces) return;
    messages.Show(Message{"盛土ブロックの分割数が100を超えました。", "ブロック分割", MsgIcon::None, MsgButtons::Ok, 0});
    throw RunAborted("too many strips");
}

bool divide_load_polygon(double* x, double* y, int n, PieceSet& out, MessageSink& messages) {
    out = PieceSet{};
    Work w;
    n = std::clamp(n, 0, kMaxDivisionVertices);
    // The division cuts ends off a clockwise outline (x right, y up).
    double area2 = 0;
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        area2 += x[i] * y[j] - x[j] * y[i];
    }
    if (area2 > 0) {
        std::reverse(x, x + n);
        std::reverse(y, y + n);
    }
    w.n = n;
    for (int i = 0; i < n; ++i) {
        x[i] *= 1000;
        y[i] *= 1000;
        w.x[i] = x[i];
        w.y[i] = y[i];
        w.removed[i] = false;
    }
    bool ok = true;
    // Every pass removes a vertex or an abscissa; the bound only guards
    // against a loop on degenerate input.
    for (int pass = 0;; ++pass) {
        Compact(w);
        if (w.n < 3) break;
        if (RemoveOneCollinear(w)) continue;
        Corners c;
        if (pass > 4 * kMaxDivisionVertices || !CutSlice(w, c)) {
            messages.Show(Message{" ERROR:ブロック分割 ", "error", MsgIcon::None, MsgButtons::Ok, 0});
            ok = false;
            break;
        }
        EmitSlice(out, messages, c);
    }
    for (int i = 0; i < w.n; ++i) {
        x[i] = w.x[i];
        y[i] = w.y[i];
    }
    SortPieces(out);
    return ok;
}

void divide_all_blocks(EngineState& st, MessageSink& messages) {
    const CalcInput& in = st.input;
    const int blocks = std::clamp(in.block_count, 0, kMaxLoadBlocks);
    st.block_loads.assign(static_cast<std::size_t>(blocks), BlockLoad{});
    PieceSet pieces;
    for (int b = 0; b < blocks; ++b) {
        const LoadBlockRec& blk = in.blocks[b];
        double x[kMaxDivisionVertices], y[kMaxDivisionVertices];
        int n = blk.vertex_count;
        for (int k = 0; k < n; ++k) {
            x[k] = in.nodes[blk.vertices[k]].x;
            y[k] = in.nodes[blk.vertices[k]].y;
        }
        pieces = PieceSet{};
        divide_load_polygon(x, y, n, pieces, messages);
        st.block_loads[b] = prepare_block_load(in, pieces, b);
    }
}

void section_bounds(const CalcInput& in, double& xmax, double& xmin, double& ymax, double& ymin) {
    xmax = ymax = -9999.999;
    xmin = ymin = 9999.999;
    auto widen = [&](double x, double y) {
        xmax = std::max(xmax, x);
        xmin = std::min(xmin, x);
        ymax = std::max(ymax, y);
        ymin = std::min(ymin, y);
    };
    for (int i = 0; i < in.soil_count; ++i)
        for (int k = 0; k < in.soil[i].vertex_count; ++k) {
            const Node& p = in.nodes[in.soil[i].vertices[k]];
            widen(p.x, p.y);
        }
    for (int i = 0; i < in.block_count; ++i)
        for (int k = 0; k < in.blocks[i].vertex_count; ++k) {
            const Node& p = in.nodes[in.blocks[i].vertices[k]];
            widen(p.x, p.y);
        }
    for (int i = 0; i < in.point_load_count; ++i) {
        const LoadRec& l = in.point_loads[i];
        widen(l.x1, l.y1 + 0.01 * l.load);
    }
    for (int i = 0; i < in.line_load_count; ++i) {
        const LoadRec& l = in.line_loads[i];
        widen(l.x1, l.y1 + 0.1 * l.load);
    }
    for (int i = 0; i < in.strip_load_count; ++i) {
        const LoadRec& l = in.strip_loads[i];
        widen(l.x1, l.y1 + 0.1 * l.load);
        widen(l.x2, l.y2 + 0.1 * l.load);
    }
    xmax += 1;
    ymax += 1;
    xmin -= 1;
    ymin -= 1;
}

int polygon_is_clockwise(const double* x, const double* y, int n) {
    if (n <= 0) return 0;
    int c = 0;
    double lowest = 99999999.999;
    for (int i = 0; i < n; ++i) {
        if (y[i] < lowest) {
            lowest = y[i];
            c = i;
        }
    }
    int p = c == 0 ? n - 1 : c - 1;
    return std::atan2(y[c + 1] - y[c], x[c + 1] - x[c]) < std::atan2(y[p] - y[c], x[p] - x[c]) ? 1 : 0;
}

int point_in_polygon(double px, double py, const double* x, const double* y, int n, int reverse) {
    auto dir = [&](int i) {
        double a = std::atan2(y[i] - py, x[i] - px);
        if (a < 0) a += 2 * kPi;
        return a;
    };
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        int a = reverse ? n - i : i;
        int b = reverse ? n - i - 1 : i + 1;
        double d = dir(a) - dir(b);
        if (d < -kPi) d += 2 * kPi;
        if (d > kPi) d -= 2 * kPi;
        sum += d;
    }
    if (std::fabs(std::fabs(sum) - 2 * kPi) < 0.001) return 0;
    if (std::fabs(sum) < 0.001) return 1;
    return 2;
}

}  // namespace kova::engine
