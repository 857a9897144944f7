#include "engine/report_common.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/strips.hpp"
#include "print/text_board.hpp"
#include "rules/segments.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {

print::DateStamp report_stamp(const RunStamp& s) {
    return print::DateStamp{s.year, s.month, s.day, s.hour, s.minute, s.second};
}

std::filesystem::path report_path(const EngineState& st, std::string_view name) {
    return st.folder / std::string(name);
}

print::PageWriter open_report_page(const EngineState& st, std::string_view name,
                                   std::string_view title) {
    return print::PageWriter(report_path(st, name), title, report_stamp(st.stamp),
                             print::DateLineStyle::Engine, st.report_files);
}

print::DrawingWriter open_report_drawing(const EngineState& st, std::string_view name,
                                         std::string_view sizeLine) {
    return print::DrawingWriter(report_path(st, name), sizeLine, st.report_files);
}

std::string real_text(const char* fmt, double v) {
    // The last guard: the quantities are checked where they are computed.
    if (!std::isfinite(v)) throw NonFiniteReportValue(fmt);
    std::string text = CFormat(fmt, v == 0 ? 0.0 : v);
    // A value that rounds to zero at the printed precision prints as zero,
    // never as "-0.000".
    if (v < 0) {
        char* end = nullptr;
        const double printed = std::strtod(text.c_str(), &end);
        if (end != text.c_str() && printed == 0) text = CFormat(fmt, 0.0);
    }
    return text;
}

int label_bytes(std::string_view text) { return print::TextBytes(text); }

const char* kind_text(int soilKind) { return soilKind == 0 ? "粘性土" : "砂質土"; }

const char* method_text(int method, int sandFlag) { return MethodInRun(method, sandFlag).printed; }

// ------------------------------------------------------------- scale

SectionScale section_scale(const CalcInput& in) {
    SectionScale sc;
    bool anyNode = false;
    for (int i = 0; i < in.soil_count; ++i)
        if (in.soil[i].vertex_count > 0) anyNode = true;
    double xmax = 0, xmin = 0, ymax = 0, ymin = 0;
    section_bounds(in, xmax, xmin, ymax, ymin);
    const double w = xmax - xmin;
    const double h = ymax - ymin;
    // Without soil layers there is no section to scale: the drawings keep
    // only their frame, axes and captions.
    if (!anyNode || !(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h)) return sc;
    sc.valid = true;
    sc.xmin = xmin;
    sc.xmax = xmax;
    sc.ymin = ymin;
    sc.ymax = ymax;
    sc.sx = 5500 / w;
    sc.sy = 2450 / h;
    if (in.AutoScaleXY == 0) sc.sx = sc.sy = std::min(sc.sx, sc.sy);
    sc.f = dint((5500 - w * sc.sx) * 0.5);
    sc.g = dint(2450 - h * sc.sy);
    return sc;
}

// ------------------------------------------------------------- drawing

void draw_section_frame(print::DrawingWriter& w) {
    w.Line(0, 0, 0, 6500, 0, 0, 0, 2);
    w.Line(0, 0, 0, 0, 4200, 0, 0, 2);
    w.Line(0, 0, 4200, 0, 4200, 6500, 0, 2);
    w.Line(0, 0, 4200, 6500, 0, 6500, 0, 2);
    w.Line(0, 0, 2850, 6000, 2850, 500, 0, 2);
    w.Line(0, 0, 400, 6000, 2850, 6000, 0, 2);
}

namespace {

struct Outline {
    std::vector<double> X, Y;   // section coordinates
};

template <class Block>
Outline block_outline(const CalcInput& in, const Block& b) {
    Outline o;
    for (int k = 0; k < b.vertex_count; ++k) {
        const Node& p = in.nodes[b.vertices[k]];
        o.X.push_back(p.x);
        o.Y.push_back(p.y);
    }
    return o;
}

// Section point to drawing point relative to the section origin.
struct Mapper {
    const SectionScale& sc;
    print::DrawingWriter& w;
    void line(double X1, double Y1, double X2, double Y2, int type, int pen) const {
        w.Line(sc.ox(), sc.oy(), sc.v(Y1), -sc.u(X1), sc.v(Y2), -sc.u(X2), type, pen);
    }
};

void draw_outline(const Mapper& m, const Outline& o, int lineType) {
    const int n = static_cast<int>(o.X.size());
    if (n == 0) return;
    m.line(o.X[n - 1], o.Y[n - 1], o.X[0], o.Y[0], lineType, 2);
    for (int k = 0; k + 1 < n; ++k) m.line(o.X[k], o.Y[k], o.X[k + 1], o.Y[k + 1], lineType, 2);
}

void draw_label(const Mapper& m, print::TextBoard& board, double lx, double ly, const std::string& text) {
    const int x = m.sc.v(ly) + 50, y = -m.sc.u(lx);
    board.Take(print::TextExtentOf(m.sc.ox() + x, m.sc.oy() + y, 50, 90, text));
    m.w.Text(m.sc.ox(), m.sc.oy(), x, y, 50, 50, 90, 2, text);
}

// A load's magnitude, upright, in the row at x above its load, centred on
// the first of its anchors (points of the load's top, x and y at its
// middle). Where it would cover another label it is centred on the next
// anchor, then moves along the load to either side and up a row at a time,
// tied back to the anchor by a thin leader that crosses no label; where no
// place within the frame is free it is left out (the condition report lists
// every load).
struct LoadAnchor {
    int x, y;
};
void draw_load_label(const Mapper& m, print::TextBoard& board, int x, const std::vector<LoadAnchor>& anchors,
                     const std::string& label) {
    constexpr int kCell = 70, kGap = 10, kRow = kCell + kGap;
    const int ox = m.sc.ox(), oy = m.sc.oy();
    const print::TextExtent size = print::TextExtentOf(0, 0, kCell, 90, label);
    const int length = size.bottom - size.top;
    auto place = [&](const LoadAnchor& a, int row, int side) {
        const int px = x - row * kRow, py = a.y + dint(label_bytes(label) * 70 * 0.25) + side * kRow;
        const print::TextExtent e = print::TextExtentOf(ox + px, oy + py, kCell, 90, label);
        // Within the frame and the section's length.
        if (e.left < kGap || e.top < oy - 5500 || e.bottom > oy) return false;
        if (!board.FreeOfTexts(print::Grown(e, kGap))) return false;
        const bool leader = row > 0 || side != 0;
        // The leader meets the label's foot (its side towards the load).
        const int fx = px, fy = std::clamp(a.y, py - length, py);
        if (leader && !board.Clear(ox + a.x, oy + a.y, ox + fx, oy + fy)) return false;
        board.Take(e);
        if (leader) m.w.Line(ox, oy, a.x, a.y, fx, fy, 0, 1);
        m.w.Text(ox, oy, px, py, kCell, kCell, 90, 2, label);
        return true;
    };
    for (const LoadAnchor& a : anchors)
        if (place(a, 0, 0)) return;
    for (int row = 0; row < 8; ++row)
        for (int step = 1; step <= 24; ++step)
            for (const LoadAnchor& a : anchors)
                if (place(a, row, step % 2 ? (step + 1) / 2 : -step / 2)) return;
}

// Marks the lattice points inside the outline with small boxes: two
// interleaved lattices of pitch `step`, the second offset by half a pitch.
void draw_dots(const Mapper& m, const Outline& o, int step, int wLast, int aLast) {
    const int n = static_cast<int>(o.X.size());
    if (n < 3) return;
    std::vector<double> us(n + 1), vs(n + 1);
    double umin = 1e300, umax = -1e300, vmin = 1e300, vmax = -1e300;
    for (int k = 0; k < n; ++k) {
        us[k] = m.sc.u(o.X[k]);
        vs[k] = m.sc.v(o.Y[k]);
        umin = std::min(umin, us[k]);
        umax = std::max(umax, us[k]);
        vmin = std::min(vmin, vs[k]);
        vmax = std::max(vmax, vs[k]);
    }
    us[n] = us[0];
    vs[n] = vs[0];
    const int reverse = polygon_is_clockwise(us.data(), vs.data(), n);
    const int half = step / 2;
    for (int pass = 0; pass < 2; ++pass) {
        const int start = pass == 0 ? 0 : half;
        for (int wv = start; wv <= wLast + start; wv += step) {
            // A point outside the outline's box cannot lie inside it.
            if (wv < umin || wv > umax) continue;
            for (int a = start; a <= aLast + start; a += step) {
                if (a < vmin || a > vmax) continue;
                if (point_in_polygon(wv, a, us.data(), vs.data(), n, reverse) != 0) continue;
                m.w.Box(m.sc.ox(), m.sc.oy(), a - 2, -wv - 2, a + 2, 2 - wv, 0, 2);
            }
        }
    }
}

// Point and line loads: a triangle of height k*q under the load point,
// filled by horizontal lines every 0.5 m.
void draw_load_triangle(const Mapper& m, print::TextBoard& board, const LoadRec& r, double k, const char* fmt) {
    const double q = r.load;
    const double top = r.y1 + k * q;
    m.line(r.x1, r.y1, r.x1 - 1, top, 0, 2);
    m.line(r.x1 - 1, top, r.x1 + 1, top, 0, 2);
    m.line(r.x1, r.y1, r.x1 + 1, top, 0, 2);
    std::string label = CFormat(fmt, q);
    draw_load_label(m, board, m.sc.v(top), {{m.sc.v(top), -m.sc.u(r.x1)}}, label);
    for (int i = 0; i < kMaxFillLines; ++i) {
        const double h = i * 0.5;
        if (!(h < k * q)) break;
        const double half = h / (k * q);
        m.line(r.x1 - half, r.y1 + h, r.x1 + half, r.y1 + h, 0, 2);
    }
}

void draw_strip(const Mapper& m, print::TextBoard& board, const LoadRec& r) {
    const double t = 0.1 * r.load;
    m.line(r.x1, r.y1, r.x1, r.y1 + t, 0, 2);
    m.line(r.x1, r.y1, r.x2, r.y2, 0, 2);
    m.line(r.x2, r.y2, r.x2, r.y2 + t, 0, 2);
    m.line(r.x1, r.y1 + t, r.x2, r.y2 + t, 0, 2);
    std::string label = real_text("%1.3lfkN/m2", r.load);
    const int x = std::min(m.sc.v(r.y1 + t), m.sc.v(r.y2 + t));
    // Its middle first, then its ends and the points between.
    std::vector<LoadAnchor> anchors{{x, -dint((m.sc.u(r.x1) + m.sc.u(r.x2)) * 0.5)}};
    for (double f : {0.0, 1.0, 0.25, 0.75}) {
        const double X = r.x1 + (r.x2 - r.x1) * f, Y = r.y1 + (r.y2 - r.y1) * f + t;
        anchors.push_back(LoadAnchor{m.sc.v(Y), -m.sc.u(X)});
    }
    draw_load_label(m, board, x, anchors, label);
    // Filled from its left end whichever way it was entered: a strip entered
    // right to left is computed as the same strip entered left to right.
    const bool reversed = r.x2 < r.x1;
    const double xl = reversed ? r.x2 : r.x1, yl = reversed ? r.y2 : r.y1;
    const double xr = reversed ? r.x1 : r.x2, yr = reversed ? r.y1 : r.y2;
    const double width = xr - xl;
    for (int i = 0; i < kMaxFillLines; ++i) {
        const double h = i * 0.5;
        if (!(h < width)) break;
        const double X = xl + h;
        const double W = yl + h * (yr - yl) / width;
        m.line(X, W, X, W + t, 0, 2);
    }
}

}  // namespace

void draw_section_blocks_and_loads(print::DrawingWriter& w, const CalcInput& in,
                                   const SectionScale& sc) {
    if (!sc.valid) return;
    const Mapper m{sc, w};
    print::TextBoard board(w);
    for (int i = 0; i < in.soil_count; ++i) {
        const SoilLayerRec& s = in.soil[i];
        Outline o = block_outline(in, s);
        draw_outline(m, o, 0);
        draw_label(m, board, s.label_x, s.label_y, CFormat("S%d", i + 1));
        if (s.soil_kind != 0) draw_dots(m, o, 100, 5400, 2400);
    }
    for (int i = 0; i < in.block_count; ++i) {
        const LoadBlockRec& b = in.blocks[i];
        draw_outline(m, block_outline(in, b), 0);
        draw_label(m, board, b.label_x, b.label_y, CFormat("M%d", i + 1));
    }
    if (in.UseCutPreload != 0) {
        for (int i = 0; i < in.cut_count; ++i) {
            const CutBlockRec& c = in.cuts[i];
            Outline o = block_outline(in, c);
            draw_outline(m, o, 1);
            draw_label(m, board, c.label_x, c.label_y, CFormat("K%d", i + 1));
            draw_dots(m, o, 50, 5450, 2450);
        }
    }
    for (int i = 0; i < in.point_load_count; ++i)
        draw_load_triangle(m, board, in.point_loads[i], 0.01, "%1.3lfkN");
    for (int i = 0; i < in.line_load_count; ++i)
        draw_load_triangle(m, board, in.line_loads[i], 0.1, "%1.3lfkN/m");
    for (int i = 0; i < in.strip_load_count; ++i) draw_strip(m, board, in.strip_loads[i]);
}

void draw_abscissa_scale(print::DrawingWriter& w, const SectionScale& sc, bool twice) {
    if (!sc.valid) return;
    const int oy = 6000 - sc.f;
    const double first = std::floor((sc.xmin + 9.999) * 0.1) * 10;
    for (int i = 0; i < kMaxScaleSteps; ++i) {
        const double B = first + 10.0 * i;
        if (!(B < sc.xmax + 9.999)) break;
        const int D = dint((B - sc.xmin) * sc.sx);
        if (D > 5500.1) break;
        w.Line(0, oy, 2850, -D, 2890, -D, 0, 2);
        if (twice) w.Line(0, oy, 2960, -D, 3000, -D, 0, 2);
        std::string label = real_text("%1.0lf", B);
        w.Text(0, oy, 2960, dint(label_bytes(label) * 70 * 0.25) - D, 70, 70, 90, 2, label);
    }
}

void draw_elevation_scale(print::DrawingWriter& w, const SectionScale& sc) {
    if (!sc.valid) return;
    const double first = std::floor((sc.ymin + 9.999) * 0.1) * 10;
    const double last = sc.ymin + 2450 / sc.sy + 0.1;
    for (int i = 0; i < kMaxScaleSteps; ++i) {
        const double B = first + 10.0 * i;
        if (!(B < last)) break;
        const int E = dint((sc.ymax - B) * sc.sy);
        w.Line(sc.ox(), 6000, E, 50, E, 0, 0, 2);
        std::string label = real_text("%1.0lf", B);
        w.Text(sc.ox(), 6000, E + 35, dint(label_bytes(label) * 35) + 70, 70, 70, 90, 2, label);
    }
}

namespace {

// A line clipped to the frame of the section sheet (4200 by 6500).
bool framed_line(print::DrawingWriter& w, int oy, int x1, int y1, int x2, int y2, int type, int pen) {
    double a = x1, b = double(y1) + oy, c = x2, d = double(y2) + oy;
    if (!rules::ClipSegment(a, b, c, d, 0, 0, 4200, 6500)) return false;
    w.Line(0, 0, dint(a), dint(b), dint(c), dint(d), type, pen);
    return true;
}

}  // namespace

bool draw_abscissa_mark(print::DrawingWriter& w, const SectionScale& sc, double X, int end) {
    const int oy = sc.oy(), k = sc.u(X), m = sc.g + 400;
    if (!framed_line(w, oy, m, -k, end, -k, 3, 1)) return false;
    framed_line(w, oy, m, -k, m - 50, 25 - k, 0, 1);
    framed_line(w, oy, m, -k, m - 50, -k - 25, 0, 1);
    framed_line(w, oy, m - 50, 25 - k, m - 50, -k - 25, 0, 1);
    framed_line(w, oy, end, -k, end + 50, 25 - k, 0, 1);
    framed_line(w, oy, end, -k, end + 50, -k - 25, 0, 1);
    framed_line(w, oy, end + 50, -k - 25, end + 50, 25 - k, 0, 1);
    return true;
}

void draw_section_captions(print::DrawingWriter& w) {
    w.Text(0, 0, 1300, 6400, 100, 100, 90, 2, " 地");
    w.Text(0, 0, 1700, 6400, 100, 100, 90, 2, " 形");
    w.Text(0, 0, 2100, 6400, 100, 100, 90, 2, " 図");
    w.Text(0, 0, 2500, 6375, 100, 100, 90, 2, "(m)");
}

}  // namespace kova::engine
