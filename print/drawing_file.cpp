#include "print/drawing_file.hpp"

#include "textio/cformat.hpp"

namespace kova::print {

std::string FormatLineRecord(int x1, int y1, int x2, int y2, int lineType, int pen) {
    return CFormat("L %4d %4d %4d %4d %d %d", x1, y1, x2, y2, lineType, pen);
}

std::string FormatBoxRecord(int x1, int y1, int x2, int y2, int lineType, int pen) {
    return CFormat("Q %4d %4d %4d %4d %d %d", x1, y1, x2, y2, lineType, pen);
}

std::string FormatTextRecord(int x, int y, int width, int height, int angle, int pen) {
    return CFormat("K %4d %4d %4d %4d %4d %d", x, y, width, height, angle, pen);
}

std::string FormatMarkerRecord(int x, int y, int d, int kind) {
    const int x0 = ClampDrawing(static_cast<long long>(x) - d);
    const int y0 = ClampDrawing(static_cast<long long>(y) - d);
    return CFormat("P %4d %4d %4d %4d %4d %4d %d", x0, y0, x, y, x0, y0, kind);
}

namespace {

int Add(int origin, int v) { return ClampDrawing(static_cast<long long>(origin) + v); }

}  // namespace

DrawingWriter::DrawingWriter(const std::filesystem::path& path, std::string_view sizeLine)
    : file_(path) {
    file_.Line(file_.Name());
    file_.Line(sizeLine);
    file_.Line("# 枠＆軸");
}

void DrawingWriter::Line(int ox, int oy, int x1, int y1, int x2, int y2, int lineType, int pen) {
    file_.Line(FormatLineRecord(Add(ox, x1), Add(oy, y1), Add(ox, x2), Add(oy, y2), lineType, pen));
}

void DrawingWriter::Box(int ox, int oy, int x1, int y1, int x2, int y2, int lineType, int pen) {
    file_.Line(FormatBoxRecord(Add(ox, x1), Add(oy, y1), Add(ox, x2), Add(oy, y2), lineType, pen));
}

void DrawingWriter::Text(int ox, int oy, int x, int y, int width, int height, int angle, int pen,
                         std::string_view text) {
    file_.Line(FormatTextRecord(Add(ox, x), Add(oy, y), width, height, angle, pen));
    file_.Line(text);
}

void DrawingWriter::Marker(int ox, int oy, int x, int y, int d, int kind) {
    file_.Line(FormatMarkerRecord(Add(ox, x), Add(oy, y), d, kind));
}

int pzk_line(DrawingWriter& f, int ox, int oy, int x1, int y1, int x2, int y2, int lineType,
             int pen) {
    f.Line(ox, oy, x1, y1, x2, y2, lineType, pen);
    return 0;
}

int pzk_box(DrawingWriter& f, int ox, int oy, int x1, int y1, int x2, int y2, int lineType,
            int pen) {
    f.Box(ox, oy, x1, y1, x2, y2, lineType, pen);
    return 0;
}

int pzk_text(DrawingWriter& f, int ox, int oy, int x, int y, int width, int height, int angle,
             int pen, std::string_view text) {
    f.Text(ox, oy, x, y, width, height, angle, pen, text);
    return 0;
}

}  // namespace kova::print
