#pragma once
// The texts of one drawing as a board of places: a label that would cover
// one already written takes another place. The engine's and the prediction
// program's graphs place their labels through it.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "print/drawing_file.hpp"

namespace kova::print {

// The extent of a text record (absolute units): lower-left corner at (x, y),
// an ASCII character half a cell wide, angle 90 running upwards.
struct TextExtent {
    int left, top, right, bottom;
};
TextExtent TextExtentOf(int x, int y, int cell, int angle, const std::string& utf8);
// The text cut after a whole character and ended with "…" where it would
// run longer than `room` at `cell`; as it is where it fits.
std::string FitText(const std::string& utf8, int cell, int room);
// The extent grown by `gap` on every side.
TextExtent Grown(const TextExtent& e, int gap);
// Whether the line from (x1, y1) to (x2, y2) passes through the extent.
bool LineMeets(const TextExtent& e, int x1, int y1, int x2, int y2);

class TextBoard {
public:
    explicit TextBoard(DrawingWriter& f) : f_(f) {}
    // Free of every text kept and of every line kept.
    bool Free(const TextExtent& e) const { return FreeOfTexts(e) && FreeOfLines(e); }
    bool FreeOfTexts(const TextExtent& e) const;
    bool FreeOfLines(const TextExtent& e) const;
    bool Free(int ox, int oy, int x, int y, int size, int angle, const std::string& text) const {
        return Free(TextExtentOf(ox + x, oy + y, size, angle, text));
    }
    // Whether a line (a leader) would pass through no text kept.
    bool Clear(int x1, int y1, int x2, int y2) const;
    // Writes the text record and keeps its place.
    void Text(int ox, int oy, int x, int y, int size, int angle, int pen, const std::string& text) {
        taken_.push_back(TextExtentOf(ox + x, oy + y, size, angle, text));
        f_.Text(ox, oy, x, y, size, size, angle, pen, text);
    }
    // Keeps a place written by other means (a label drawn apart).
    void Take(const TextExtent& e) { taken_.push_back(e); }
    // Keeps a line no text may cross (a curve, an axis, a grid line).
    void KeepLine(int ox, int oy, int x1, int y1, int x2, int y2);

private:
    struct Segment {
        int x1, y1, x2, y2;
    };
    // Lines are filed by square cells, so that a place is tried against the
    // few lines near it: a curve of a long axis has thousands.
    static constexpr int kCell = 128;
    static long long CellKey(int cx, int cy) { return (static_cast<long long>(cx) << 32) ^ static_cast<unsigned>(cy); }

    // The lines and their filing: (cell, line) pairs in one sorted array,
    // brought up to date when a place is tried. Copies of a board (trial
    // arrangements of its texts) share them until one keeps a line.
    struct Lines {
        std::vector<Segment> segments;
        std::vector<std::pair<long long, int>> cells;
        std::size_t filed = 0;
        void FileNew();
    };

    DrawingWriter& f_;
    std::vector<TextExtent> taken_;
    std::shared_ptr<Lines> lines_ = std::make_shared<Lines>();
};

}  // namespace kova::print
