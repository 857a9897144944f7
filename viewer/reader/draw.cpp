#include "viewer/reader/draw.hpp"

#include <algorithm>
#include <cmath>

#include "viewer/reader/grammar.hpp"
#include "viewer/reader/layout.hpp"

namespace kova::viewer {

int PenWidth(int pen) { return pen == kPenThick ? 2 : 1; }

int DrawStyledLine(Picture& p, const Frame& clip, double x1, double y1, double x2, double y2, int lineType) {
    if (!ClipLine(x1, y1, x2, y2, clip.x, clip.y, clip.x + clip.width, clip.y + clip.height)) return 0;
    p.SetLineStyle(LineStyle::Solid);
    double pattern[4];
    int n = 0;
    if (lineType == kLineDashed) {
        pattern[0] = kDash, pattern[1] = kDashGap;
        n = 2;
    } else if (lineType == kLineDashDot) {
        pattern[0] = kLongDash, pattern[1] = kDotGap, pattern[2] = kDot, pattern[3] = kDotGap;
        n = 4;
    }
    const double len = std::hypot(x2 - x1, y2 - y1);
    if (n == 0 || len <= 0) {
        p.Line(x1, y1, x2, y2);
        return 1;
    }
    const double ux = (x2 - x1) / len, uy = (y2 - y1) / len;
    int pieces = 0;
    double at = 0;
    for (int k = 0; at < len; k = (k + 1) % n) {
        const double end = std::min(len, at + pattern[k]);
        if (k % 2 == 0) {
            p.Line(x1 + ux * at, y1 + uy * at, x1 + ux * end, y1 + uy * end);
            ++pieces;
        }
        at = end;
    }
    return pieces;
}

void PlaceText(Picture& p, double x, double y, double w, double h, int angle, std::string_view utf8) {
    if (auto* cells = dynamic_cast<TextCells*>(&p)) cells->SetTextCell(w, h, angle);
    else angle = 0;
    // The top-left corner is the lower-left one moved up by the height,
    // turned with the text.
    const double a = angle * 3.14159265358979323846 / 180.0;
    const double tx = x - h * std::sin(a);
    const double ty = y - h * std::cos(a);
    if (std::isfinite(tx) && std::isfinite(ty)) p.Text(tx, ty, utf8);
}

// A box this small on the page (in page units) is a dot of a pattern: drawn
// as its four sides with a pen wider than itself it would print as a cross.
constexpr double kDotBox = 8;
constexpr double kDotRadius = 2.5;

Extent ExtentOf(const DrawingFile& d) {
    double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
    auto add = [&](double x, double y) {
        x1 = std::min(x1, x), y1 = std::min(y1, y), x2 = std::max(x2, x), y2 = std::max(y2, y);
    };
    for (const DrawingRecord& r : d.records) {
        const auto& v = r.v;
        switch (r.kind) {
        case kLineRecord:
        case kBoxRecord:
            add(v[0], v[1]);
            add(v[2], v[3]);
            break;
        case kTextRecord: {
            // Lower-left corner; the cells run right (or up when turned).
            const double len = Columns(r.text) * v[2] / 2.0;
            if (v[4] == 90) add(v[0] - v[3], v[1] - len), add(v[0], v[1]);
            else add(v[0], v[1] - v[3]), add(v[0] + len, v[1]);
            break;
        }
        case kMarkerRecord: {
            const double rad = std::abs(static_cast<double>(v[2]) - v[0]);
            add(v[2] - rad, v[3] - rad);
            add(v[2] + rad, v[3] + rad);
            break;
        }
        default: break;
        }
    }
    const double W = d.width, H = d.height;
    x1 = std::max(x1, 0.0), y1 = std::max(y1, 0.0), x2 = std::min(x2, W), y2 = std::min(y2, H);
    if (!(x2 - x1 > 0) || !(y2 - y1 > 0)) return {0, 0, W, H};
    const double m = 0.01 * std::max(W, H);
    return {std::max(0.0, x1 - m), std::max(0.0, y1 - m), std::min(W, x2 + m), std::min(H, y2 + m)};
}

void DrawDrawing(const DrawingFile& d, Picture& p, const Frame& frame) { DrawDrawing(d, p, frame, frame); }

std::vector<std::pair<double, double>> Straightened(const std::vector<std::pair<double, double>>& points,
                                                    double tolerance) {
    if (points.size() <= 2) return points;
    std::vector<std::pair<double, double>> out{points.front()};
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const auto [ax, ay] = out.back();
        const auto [bx, by] = points[i];
        const auto [cx, cy] = points[i + 1];
        const double len = std::hypot(cx - ax, cy - ay);
        // Distance of b from the line a-c, and b between a and c.
        const double off =
            len > 0 ? std::abs((cx - ax) * (by - ay) - (cy - ay) * (bx - ax)) / len : std::hypot(bx - ax, by - ay);
        const double along = (bx - ax) * (cx - ax) + (by - ay) * (cy - ay);
        if (off > tolerance || along < 0 || along > len * len) out.push_back(points[i]);
    }
    out.push_back(points.back());
    return out;
}

void DrawDrawing(const DrawingFile& d, Picture& p, const Frame& frame, const Frame& clip) {
    if (d.width <= 0 || d.height <= 0) return;
    const double s = frame.width / d.width;
    auto X = [&](double v) { return frame.x + v * s; };
    auto Y = [&](double v) { return frame.y + v * s; };
    p.SetForeColor(Rgb{0, 0, 0});
    p.SetFill(false, Rgb{0, 0, 0});
    // Joined solid lines of one pen, gathered into one path where the
    // surface takes paths.
    auto* poly = dynamic_cast<PolyLines*>(&p);
    std::vector<std::pair<double, double>> run;
    int runPen = -1;
    auto flush = [&] {
        if (run.size() >= 2) {
            p.SetLineWidth(PenWidth(runPen));
            p.SetLineStyle(LineStyle::Solid);
            poly->Polyline(Straightened(run, 0.05));
        }
        run.clear();
    };
    auto draw = [&](const DrawingRecord& r) {
        const auto& v = r.v;
        if (poly && !(r.kind == kLineRecord && v[4] != kLineDashed && v[4] != kLineDashDot)) flush();
        switch (r.kind) {
        case kLineRecord:
            if (poly && v[4] != kLineDashed && v[4] != kLineDashDot) {
                double x1 = X(v[0]), y1 = Y(v[1]), x2 = X(v[2]), y2 = Y(v[3]);
                if (!ClipLine(x1, y1, x2, y2, clip.x, clip.y, clip.x + clip.width, clip.y + clip.height)) {
                    flush();
                    break;
                }
                if (run.empty() || runPen != v[5] || run.back() != std::make_pair(x1, y1)) {
                    flush();
                    run.push_back({x1, y1});
                    runPen = v[5];
                }
                run.push_back({x2, y2});
                break;
            }
            p.SetLineWidth(PenWidth(v[5]));
            DrawStyledLine(p, clip, X(v[0]), Y(v[1]), X(v[2]), Y(v[3]), v[4]);
            break;
        case kBoxRecord: {
            p.SetLineWidth(PenWidth(v[5]));
            const double x1 = X(v[0]), y1 = Y(v[1]), x2 = X(v[2]), y2 = Y(v[3]);
            if (std::abs(x2 - x1) <= kDotBox && std::abs(y2 - y1) <= kDotBox) {
                const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
                if (cx >= clip.x && cx <= clip.x + clip.width && cy >= clip.y && cy <= clip.y + clip.height) {
                    p.SetLineWidth(1);
                    p.SetFill(true, Rgb{0, 0, 0});
                    p.Circle(cx, cy, std::max(kDotRadius, std::abs(x2 - x1) / 2));
                    p.SetFill(false, Rgb{0, 0, 0});
                }
                break;
            }
            DrawStyledLine(p, clip, x1, y1, x2, y1, v[4]);
            DrawStyledLine(p, clip, x2, y1, x2, y2, v[4]);
            DrawStyledLine(p, clip, x2, y2, x1, y2, v[4]);
            DrawStyledLine(p, clip, x1, y2, x1, y1, v[4]);
            break;
        }
        case kTextRecord:
            if (v[2] <= 0 || v[3] <= 0 || r.text.empty()) break;
            PlaceText(p, X(v[0]), Y(v[1]), v[2] * s, v[3] * s, v[4], r.text);
            break;
        case kMarkerRecord: {
            p.SetLineWidth(1);
            p.SetLineStyle(LineStyle::Solid);
            const double radius = std::max(kMinMarker, std::abs(static_cast<double>(v[2]) - v[0]) * s);
            // Filled white, so that the point stands above a line through it.
            if (CircleMeets(X(v[2]), Y(v[3]), radius, clip.x, clip.y, clip.x + clip.width, clip.y + clip.height)) {
                p.SetFill(true, Rgb{255, 255, 255});
                p.Circle(X(v[2]), Y(v[3]), radius);
                p.SetFill(false, Rgb{0, 0, 0});
            }
            break;
        }
        default: break;
        }
    };
    // Markers last: the points stay above the lines drawn through them.
    for (const DrawingRecord& r : d.records)
        if (r.kind != kMarkerRecord) draw(r);
    if (poly) flush();
    for (const DrawingRecord& r : d.records)
        if (r.kind == kMarkerRecord) draw(r);
    p.SetLineWidth(1);
}

void DrawAbsentDrawing(const std::string& name, Picture& p, const Frame& frame, const std::string& unreadable) {
    p.SetForeColor(Rgb{0, 0, 0});
    p.SetLineWidth(1);
    p.SetLineStyle(LineStyle::Solid);
    const double r = frame.x + frame.width, b = frame.y + frame.height;
    p.Line(frame.x, frame.y, r, frame.y);
    p.Line(r, frame.y, r, b);
    p.Line(r, b, frame.x, b);
    p.Line(frame.x, b, frame.x, frame.y);
    const std::string label = name + (unreadable.empty() ? "（ファイルなし）" : "（" + unreadable + "）");
    // Centred by its code page 932 width (a half-width character is half a
    // cell) and small enough to stay inside a small frame.
    const double chars = std::max(1, Columns(label)) / 2.0;
    const double h = std::min({40.0, frame.height / 4, frame.width * 0.9 / chars});
    const double w = h;
    PlaceText(p, frame.x + (frame.width - chars * w) / 2, frame.y + (frame.height + h) / 2, w, h, 0, label);
}

}  // namespace kova::viewer
