#include "model/trace.hpp"

#include <cmath>
#include <cstddef>

#include "model/geometry.hpp"

namespace kova {

namespace {

constexpr double kTwoPi = 2 * kPi;
// The walk takes at most this many steps (0 to 256).
constexpr int kMaxWalkSteps = 257;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

int UsedLines(i16 count) { return count < 0 ? 0 : (count > kMaxLines + 1 ? kMaxLines + 1 : count); }

// A line whose ends name no boundary point takes no part in picks or
// traces (a damaged file could leave one behind).
bool ValidLine(const Model& m, const BoundaryLine& l) {
    return l.pt1 >= 0 && l.pt2 >= 0 && l.pt1 < m.BndPtCount && l.pt2 < m.BndPtCount && l.pt1 <= kMaxBndPts &&
           l.pt2 <= kMaxBndPts;
}

int UsedPoints(const Model& m) {
    return m.BndPtCount < 0 ? 0 : (m.BndPtCount > kMaxBndPts + 1 ? kMaxBndPts + 1 : m.BndPtCount);
}

const BoundaryPoint& Pt(const Model& m, i16 i) { return m.BndPt[Idx(i)]; }

double Dist(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

}  // namespace

i16 NearestLine(const Model& m, const LineTable& lines, i16 count, double x, double y) {
    double best = 99999.999;
    i16 sel = -1;
    int nearEnd = -1;
    const int n = UsedLines(count);
    for (int i = 0; i < n; ++i) {
        const BoundaryLine& l = lines[Idx(i)];
        if (!ValidLine(m, l)) continue;
        const BoundaryPoint& a = Pt(m, l.pt1);
        const BoundaryPoint& b = Pt(m, l.pt2);
        double fx = 0, fy = 0, d;
        int end;
        if (FootOfPerp(a.X, a.Y, b.X, b.Y, x, y, fx, fy) == 0) {
            d = Dist(fx, fy, x, y);
            end = -1;
        } else {
            double dA = Dist(a.X, a.Y, x, y);
            double dB = Dist(b.X, b.Y, x, y);
            if (dA < dB) {
                d = dA;
                end = l.pt1;
            } else {
                d = dB;
                end = l.pt2;
            }
        }
        if (d < best) {
            best = d;
            sel = static_cast<i16>(i);
            nearEnd = end;
        }
    }
    if (nearEnd < 0) return sel;
    // Nearest at an end point E: of all lines ending at E take the one whose
    // direction from E is closest to the direction from E to the click.
    const BoundaryPoint& e = Pt(m, static_cast<i16>(nearEnd));
    double bestAngle = 99999.999;
    for (int i = 0; i < n; ++i) {
        const BoundaryLine& l = lines[Idx(i)];
        if (!ValidLine(m, l) || (l.pt1 != nearEnd && l.pt2 != nearEnd)) continue;
        const BoundaryPoint& o = Pt(m, l.pt1 == nearEnd ? l.pt2 : l.pt1);
        double a = TurnAngle(e.X, e.Y, o.X, o.Y, x, y) * 180 / kPi;
        if (a > 180) a = 360 - a;
        if (a < bestAngle) {
            bestAngle = a;
            sel = static_cast<i16>(i);
        }
    }
    return sel;
}

i16 PointInRegion(double x, double y, const double* OX, const double* OY, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i) {
        double a = DirAngle(OY[i] - y, OX[i] - x);
        double b = DirAngle(OY[i + 1] - y, OX[i + 1] - x);
        if (a < 0) a += kTwoPi;
        if (b < 0) b += kTwoPi;
        double c = a - b;
        if (c < -kPi) c += kTwoPi;
        if (c > kPi) c -= kTwoPi;
        s += c;
    }
    if (std::fabs(std::fabs(s) - kTwoPi) < 0.001) return 1;
    if (std::fabs(s) < 0.001) return -1;
    return -2;
}

Trace TraceRegion(const Model& m, const LineTable& lines, i16 count, i16 start, double x, double y) {
    Trace t;
    t.lastLine = start;
    const int n = UsedLines(count);
    if (start < 0 || start >= n || !ValidLine(m, lines[Idx(start)])) return t;

    // The lines meeting at each point, in line index order, pt1 before pt2:
    // the order that decides ties, whatever the Link lists hold.
    std::vector<std::vector<i16>> adj(Idx(UsedPoints(m)));
    for (int i = 0; i < n; ++i) {
        const BoundaryLine& l = lines[Idx(i)];
        if (!ValidLine(m, l)) continue;
        adj[Idx(l.pt1)].push_back(static_cast<i16>(i));
        adj[Idx(l.pt2)].push_back(static_cast<i16>(i));
    }

    // Walk so that the click lies on the right-hand side of the first line.
    const BoundaryLine& first = lines[Idx(start)];
    const BoundaryPoint& p1 = Pt(m, first.pt1);
    const BoundaryPoint& p2 = Pt(m, first.pt2);
    double aL = DirAngle(p2.Y - p1.Y, p2.X - p1.X);
    double aC = DirAngle(y - p1.Y, x - p1.X);
    if (aL < 0) aL += kTwoPi;
    if (aC < 0) aC += kTwoPi;
    const double D = aL - aC;
    i16 prev, cur;
    if (D > kPi || (D >= -kPi && D <= 0)) {
        prev = first.pt1;
        cur = first.pt2;
    } else {
        prev = first.pt2;
        cur = first.pt1;
    }
    const i16 startPt = prev;
    i16 sel = start;

    for (int step = 0; step < kMaxWalkSteps; ++step) {
        for (i16 p : t.pt)
            if (p == cur) return t;
        const BoundaryPoint& c = Pt(m, cur);
        t.X.push_back(c.X);
        t.Y.push_back(c.Y);
        t.pt.push_back(cur);
        const std::vector<i16>& links = adj[Idx(cur)];
        if (links.size() < 2) return t;  // dead end

        // The largest clockwise angle from the way back is the sharpest
        // right turn; the first line wins ties.
        double best = -99999.999;
        i16 nextLine = -1, next = -1;
        const BoundaryPoint& back = Pt(m, prev);
        for (i16 L : links) {
            if (L == sel) continue;
            const BoundaryLine& l = lines[Idx(L)];
            i16 N = l.pt1 == cur ? l.pt2 : l.pt1;
            const BoundaryPoint& np = Pt(m, N);
            double h = TurnAngle(c.X, c.Y, np.X, np.Y, back.X, back.Y);
            if (h > best) {
                best = h;
                nextLine = L;
                next = N;
            }
        }
        if (nextLine < 0) return t;  // only the line just walked meets here
        prev = cur;
        cur = next;
        sel = nextLine;
        t.lastLine = sel;
        if (cur == startPt) {
            const BoundaryPoint& s = Pt(m, startPt);
            t.X.push_back(s.X);
            t.Y.push_back(s.Y);
            t.pt.push_back(startPt);
            t.n = static_cast<int>(t.pt.size());
            t.X.push_back(t.X[0]);
            t.Y.push_back(t.Y[0]);
            t.pt.push_back(t.pt[0]);
            t.end = TraceEnd::Closed;
            return t;
        }
    }
    return t;
}

double WindingDegrees(const Trace& t, double x, double y) {
    double sum = 0;
    for (int k = 1; k <= t.n; ++k) {
        double a = TurnAngle(x, y, t.X[Idx(k)], t.Y[Idx(k)], t.X[Idx(k - 1)], t.Y[Idx(k - 1)]) * 180 / kPi;
        if (a > 180) a -= 360;
        sum += a;
    }
    return sum;
}

Region OutlineAround(const Model& m, const LineTable& lines, i16 count, double x, double y) {
    Region r;
    r.lastLine = NearestLine(m, lines, count, x, y);
    if (r.lastLine < 0) return r;
    Trace t = TraceRegion(m, lines, count, r.lastLine, x, y);
    r.lastLine = t.lastLine;
    r.end = RegionEnd::Open;
    if (t.end != TraceEnd::Closed) return r;
    r.end = RegionEnd::Outside;
    if (std::fabs(WindingDegrees(t, x, y) - 360) >= 0.00001) return r;
    // A block holds at most 100 distinct vertices (and one repeating the first).
    r.end = RegionEnd::TooManyVertices;
    if (t.n > kMaxVertices) return r;
    r.end = RegionEnd::Closed;
    r.outline.n = static_cast<i16>(t.n);
    for (int i = 0; i <= t.n; ++i) {
        r.outline.X[Idx(i)] = t.X[Idx(i)];
        r.outline.Y[Idx(i)] = t.Y[Idx(i)];
    }
    return r;
}

}  // namespace kova
