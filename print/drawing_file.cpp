#include "print/drawing_file.hpp"

#include <cstring>

namespace kova::print {

namespace {

// Formats a record without printf: the drawings hold tens of thousands of
// records and this is the hot path. Same text as "%4d" for the coordinates
// and "%d" for the codes.
class Record {
public:
    explicit Record(char kind) { buf_[n_++] = kind; }
    Record& Wide(int v) { return Put(v, 4); }
    Record& Bare(int v) { return Put(v, 0); }
    std::string_view View() const { return std::string_view(buf_, n_); }
    // The record with its line end, for LineFile::AsciiLine.
    std::string_view Line() {
        buf_[n_] = '\r';
        buf_[n_ + 1] = '\n';
        return std::string_view(buf_, n_ + 2);
    }

private:
    Record& Put(int v, int width) {
        static constexpr char kPairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        // The digits end at the end of a field wide enough for any int; the
        // 16 bytes from the sign on are copied whole (no call for the
        // length), and only the digits count.
        char digits[32];
        char* const end = digits + 16;
        std::memset(end, ' ', 16);
        char* p = end;
        unsigned u = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
        while (u >= 100) {
            const unsigned r = u % 100;
            u /= 100;
            p -= 2;
            p[0] = kPairs[2 * r];
            p[1] = kPairs[2 * r + 1];
        }
        if (u >= 10) {
            p -= 2;
            p[0] = kPairs[2 * u];
            p[1] = kPairs[2 * u + 1];
        } else {
            *--p = static_cast<char>('0' + u);
        }
        if (v < 0) *--p = '-';
        const int len = static_cast<int>(end - p);
        buf_[n_++] = ' ';
        if (len < width) {
            std::memset(buf_ + n_, ' ', 4);
            n_ += width - len;
        }
        std::memcpy(buf_ + n_, p, 16);
        n_ += len;
        return *this;
    }
    // At most 7 fields of 12 characters and a blank each, the line end, and
    // room for the whole copies of Put.
    char buf_[128];
    int n_ = 0;
};

Record LineRec(char kind, int x1, int y1, int x2, int y2, int lineType, int pen) {
    Record r(kind);
    r.Wide(x1).Wide(y1).Wide(x2).Wide(y2).Bare(lineType).Bare(pen);
    return r;
}

Record TextRec(int x, int y, int width, int height, int angle, int pen) {
    Record r('K');
    r.Wide(x).Wide(y).Wide(width).Wide(height).Wide(angle).Bare(pen);
    return r;
}

Record MarkerRec(int x, int y, int d, int kind) {
    const int x0 = ClampDrawing(static_cast<long long>(x) - d);
    const int y0 = ClampDrawing(static_cast<long long>(y) - d);
    Record r('P');
    r.Wide(x0).Wide(y0).Wide(x).Wide(y).Wide(x0).Wide(y0).Bare(kind);
    return r;
}

}  // namespace

std::string FormatLineRecord(int x1, int y1, int x2, int y2, int lineType, int pen) {
    return std::string(LineRec('L', x1, y1, x2, y2, lineType, pen).View());
}

std::string FormatBoxRecord(int x1, int y1, int x2, int y2, int lineType, int pen) {
    return std::string(LineRec('Q', x1, y1, x2, y2, lineType, pen).View());
}

std::string FormatTextRecord(int x, int y, int width, int height, int angle, int pen) {
    return std::string(TextRec(x, y, width, height, angle, pen).View());
}

std::string FormatMarkerRecord(int x, int y, int d, int kind) {
    return std::string(MarkerRec(x, y, d, kind).View());
}

namespace {

// ClampDrawing(origin + v), inline: every record adds its origin.
inline int Add(int origin, int v) {
    const long long s = static_cast<long long>(origin) + v;
    return s < kDrawingMin ? kDrawingMin : s > kDrawingMax ? kDrawingMax : static_cast<int>(s);
}

}  // namespace

DrawingWriter::DrawingWriter(const std::filesystem::path& path, std::string_view sizeLine,
                             FileBatch* batch)
    : file_(path, batch) {
    file_.Line(file_.Name());
    file_.Line(sizeLine);
    file_.Line("# 枠＆軸");
}

void DrawingWriter::Line(int ox, int oy, int x1, int y1, int x2, int y2, int lineType, int pen) {
    file_.AsciiLine(LineRec('L', Add(ox, x1), Add(oy, y1), Add(ox, x2), Add(oy, y2), lineType, pen).Line());
}

void DrawingWriter::Frame(int w, int h, int lineType, int pen) {
    Line(0, 0, 0, 0, w, 0, lineType, pen);
    Line(0, 0, w, 0, w, h, lineType, pen);
    Line(0, 0, w, h, 0, h, lineType, pen);
    Line(0, 0, 0, h, 0, 0, lineType, pen);
}

void DrawingWriter::HeightMark(int ox, int oy, int x, int from, int foot, int tip, int lineType, int pen) {
    Line(ox, oy, x, from, x, foot, lineType, pen);
    Line(ox, oy, x - 25, foot, x + 25, foot, lineType, pen);
    Line(ox, oy, x, foot, x - 10, foot - 30, lineType, pen);
    Line(ox, oy, x, foot, x + 10, foot - 30, lineType, pen);
    Line(ox, oy, x, tip, x - 10, tip + 30, lineType, pen);
    Line(ox, oy, x, tip, x + 10, tip + 30, lineType, pen);
}

void DrawingWriter::Box(int ox, int oy, int x1, int y1, int x2, int y2, int lineType, int pen) {
    file_.AsciiLine(LineRec('Q', Add(ox, x1), Add(oy, y1), Add(ox, x2), Add(oy, y2), lineType, pen).Line());
}

void DrawingWriter::Text(int ox, int oy, int x, int y, int width, int height, int angle, int pen,
                         std::string_view text) {
    file_.AsciiLine(TextRec(Add(ox, x), Add(oy, y), width, height, angle, pen).Line());
    file_.Line(text);
}

void DrawingWriter::Marker(int ox, int oy, int x, int y, int d, int kind) {
    file_.AsciiLine(MarkerRec(Add(ox, x), Add(oy, y), d, kind).Line());
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
