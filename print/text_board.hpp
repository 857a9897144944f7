#pragma once
// The texts of one drawing as a board of places: a label that would cover
// one already written takes another place. The engine's and the prediction
// program's graphs place their labels through it.
#include <string>
#include <vector>

#include "print/drawing_file.hpp"

namespace kova::print {

// The extent of a text record (absolute units): lower-left corner at (x, y),
// an ASCII character half a cell wide, angle 90 running upwards.
struct TextExtent {
    int left, top, right, bottom;
};
TextExtent TextExtentOf(int x, int y, int cell, int angle, const std::string& utf8);

class TextBoard {
public:
    explicit TextBoard(DrawingWriter& f) : f_(f) {}
    bool Free(const TextExtent& e) const;
    bool Free(int ox, int oy, int x, int y, int size, int angle, const std::string& text) const {
        return Free(TextExtentOf(ox + x, oy + y, size, angle, text));
    }
    // Writes the text record and keeps its place.
    void Text(int ox, int oy, int x, int y, int size, int angle, int pen, const std::string& text) {
        taken_.push_back(TextExtentOf(ox + x, oy + y, size, angle, text));
        f_.Text(ox, oy, x, y, size, size, angle, pen, text);
    }
    // Keeps a place written by other means (a label drawn apart).
    void Take(const TextExtent& e) { taken_.push_back(e); }

private:
    DrawingWriter& f_;
    std::vector<TextExtent> taken_;
};

}  // namespace kova::print
