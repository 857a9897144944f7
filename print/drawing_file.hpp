#pragma once
// Writer of a viewer drawing file (*.PZK): line 1 the file's own name, line 2
// the size line, line 3 "# 枠＆軸", then records in drawing order. Drawing
// units are integers, x to the right and y downwards.
//
//   line record    "L %4d %4d %4d %4d %d %d"  x1 y1 x2 y2 line-type pen
//   box record     "Q %4d %4d %4d %4d %d %d"  corners, line-type, pen
//   text record    "K %4d %4d %4d %4d %4d %d" x y width height angle pen,
//                  then the text on its own line
//   marker record  "P %4d %4d %4d %4d %4d %4d %d" (prediction program only)
//                  x-d y-d x y x-d y-d kind
//
// Every record takes an origin (ox, oy) that is added to the coordinates
// (never to sizes or angles). Sums are clamped into the drawing range.
// Every write is checked; a failure raises PrintFileError naming the file.
#include <filesystem>
#include <string>
#include <string_view>

#include "print/line_file.hpp"

namespace kova::print {

// Size lines of the drawing kinds.
inline constexpr std::string_view kSizeTimeGraph = "45,28";   // 4200 x 2700
inline constexpr std::string_view kSizeSection = "45,66";     // 4200 x 6500

class DrawingWriter {
public:
    // Creates the file and writes the three header lines; the name line is
    // the file name of path. With a batch, the file is prepared in it (see
    // LineFile).
    DrawingWriter(const std::filesystem::path& path, std::string_view sizeLine,
                  FileBatch* batch = nullptr);

    void Line(int ox, int oy, int x1, int y1, int x2, int y2, int lineType, int pen);
    void Box(int ox, int oy, int x1, int y1, int x2, int y2, int lineType, int pen);
    void Text(int ox, int oy, int x, int y, int width, int height, int angle, int pen,
              std::string_view text);
    void Marker(int ox, int oy, int x, int y, int d, int kind);
    // The frame (0, 0)-(w, h): four lines clockwise from the top left corner.
    void Frame(int w, int h, int lineType, int pen);
    // The mark of a height on the vertical at x: a line from `from` to
    // `foot` with a bar across its foot, and arrow heads at `foot` and at
    // `tip` (above it), each pointing at its end.
    void HeightMark(int ox, int oy, int x, int from, int foot, int tip, int lineType, int pen);
    void Close() { file_.Close(); }

    const std::string& Name() const { return file_.Name(); }

private:
    LineFile file_;
};

// The record texts as the writer emits them (origin already added).
std::string FormatLineRecord(int x1, int y1, int x2, int y2, int lineType, int pen);
std::string FormatBoxRecord(int x1, int y1, int x2, int y2, int lineType, int pen);
std::string FormatTextRecord(int x, int y, int width, int height, int angle, int pen);
std::string FormatMarkerRecord(int x, int y, int d, int kind);

// The engine's record writers under their own names; each returns 0.
int pzk_line(DrawingWriter& f, int ox, int oy, int x1, int y1, int x2, int y2, int lineType,
             int pen);
int pzk_box(DrawingWriter& f, int ox, int oy, int x1, int y1, int x2, int y2, int lineType,
            int pen);
int pzk_text(DrawingWriter& f, int ox, int oy, int x, int y, int width, int height, int angle,
             int pen, std::string_view text);

}  // namespace kova::print
