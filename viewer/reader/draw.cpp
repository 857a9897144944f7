#include "viewer/reader/draw.hpp"

#include <algorithm>
#include <cmath>

#include "viewer/reader/grammar.hpp"
#include "viewer/reader/layout.hpp"

namespace kova::viewer {

int PenWidth(int pen) { return pen == kPenThick ? 2 : 1; }

int DrawStyledLine(Picture& p, const Frame& clip, double x1, double y1, double x2, double y2,
                   int lineType) {
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

void DrawDrawing(const DrawingFile& d, Picture& p, const Frame& frame) {
    if (d.width <= 0 || d.height <= 0) return;
    const double s = frame.width / d.width;
    auto X = [&](int v) { return frame.x + v * s; };
    auto Y = [&](int v) { return frame.y + v * s; };
    p.SetForeColor(Rgb{0, 0, 0});
    p.SetFill(false, Rgb{0, 0, 0});
    for (const DrawingRecord& r : d.records) {
        const auto& v = r.v;
        switch (r.kind) {
        case kLineRecord:
            p.SetLineWidth(PenWidth(v[5]));
            DrawStyledLine(p, frame, X(v[0]), Y(v[1]), X(v[2]), Y(v[3]), v[4]);
            break;
        case kBoxRecord: {
            p.SetLineWidth(PenWidth(v[5]));
            const double x1 = X(v[0]), y1 = Y(v[1]), x2 = X(v[2]), y2 = Y(v[3]);
            DrawStyledLine(p, frame, x1, y1, x2, y1, v[4]);
            DrawStyledLine(p, frame, x2, y1, x2, y2, v[4]);
            DrawStyledLine(p, frame, x2, y2, x1, y2, v[4]);
            DrawStyledLine(p, frame, x1, y2, x1, y1, v[4]);
            break;
        }
        case kTextRecord:
            if (v[2] <= 0 || v[3] <= 0 || r.text.empty()) break;
            PlaceText(p, X(v[0]), Y(v[1]), v[2] * s, v[3] * s, v[4], r.text);
            break;
        case kMarkerRecord: {
            p.SetLineWidth(1);
            p.SetLineStyle(LineStyle::Solid);
            const double radius = std::abs(static_cast<double>(v[2]) - v[0]) * s;
            if (CircleMeets(X(v[2]), Y(v[3]), radius, frame.x, frame.y, frame.x + frame.width,
                            frame.y + frame.height))
                p.Circle(X(v[2]), Y(v[3]), radius);
            break;
        }
        default: break;
        }
    }
    p.SetLineWidth(1);
}

void DrawAbsentDrawing(const std::string& name, Picture& p, const Frame& frame) {
    p.SetForeColor(Rgb{0, 0, 0});
    p.SetLineWidth(1);
    p.SetLineStyle(LineStyle::Solid);
    const double r = frame.x + frame.width, b = frame.y + frame.height;
    p.Line(frame.x, frame.y, r, frame.y);
    p.Line(r, frame.y, r, b);
    p.Line(r, b, frame.x, b);
    p.Line(frame.x, b, frame.x, frame.y);
    const std::string label = name + "（ファイルなし）";
    // Centred by its code page 932 width (a half-width character is half a
    // cell) and small enough to stay inside a small frame.
    const double chars = std::max(1, Columns(label)) / 2.0;
    const double h = std::min({40.0, frame.height / 4, frame.width * 0.9 / chars});
    const double w = h;
    PlaceText(p, frame.x + (frame.width - chars * w) / 2, frame.y + (frame.height + h) / 2, w, h, 0, label);
}

}  // namespace kova::viewer
