#include "print/text_board.hpp"

#include <algorithm>
#include <cmath>

namespace kova::print {
namespace {
int CellOf(int v, int cell) { return static_cast<int>(std::floor(static_cast<double>(v) / cell)); }
}  // namespace

TextExtent TextExtentOf(int x, int y, int cell, int angle, const std::string& utf8) {
    int len = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        len += n == 1 ? cell / 2 : cell;
        i += n;
    }
    if (angle == 90) return {x - cell, y - len, x, y};
    return {x, y - cell, x + len, y};
}

std::string FitText(const std::string& utf8, int cell, int room) {
    auto length = [&](const std::string& t) { return TextExtentOf(0, 0, cell, 0, t).right; };
    if (length(utf8) <= room) return utf8;
    const std::string ellipsis = "…";
    const int keep = room - length(ellipsis);
    std::string out;
    int used = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = std::min(utf8.size() - i, static_cast<std::size_t>(c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4));
        const int w = n == 1 ? cell / 2 : cell;
        if (used + w > keep) break;
        out.append(utf8, i, n);
        used += w;
        i += n;
    }
    return out + ellipsis;
}

TextExtent Grown(const TextExtent& e, int gap) { return {e.left - gap, e.top - gap, e.right + gap, e.bottom + gap}; }

bool LineMeets(const TextExtent& e, int x1, int y1, int x2, int y2) {
    // The part of the line's parameter range inside each slab of the extent.
    double lo = 0, hi = 1;
    const double p[2] = {static_cast<double>(x1), static_cast<double>(y1)};
    const double d[2] = {static_cast<double>(x2 - x1), static_cast<double>(y2 - y1)};
    const double mins[2] = {static_cast<double>(e.left), static_cast<double>(e.top)};
    const double maxs[2] = {static_cast<double>(e.right), static_cast<double>(e.bottom)};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (p[k] <= mins[k] || p[k] >= maxs[k]) return false;
            continue;
        }
        double a = (mins[k] - p[k]) / d[k], b = (maxs[k] - p[k]) / d[k];
        if (a > b) std::swap(a, b);
        lo = std::max(lo, a);
        hi = std::min(hi, b);
        if (lo >= hi) return false;
    }
    return true;
}

bool TextBoard::FreeOfTexts(const TextExtent& e) const {
    for (const TextExtent& t : taken_)
        if (e.left < t.right && t.left < e.right && e.top < t.bottom && t.top < e.bottom) return false;
    return true;
}

bool TextBoard::FreeOfLines(const TextExtent& e) const {
    if (lines_->segments.empty()) return true;
    lines_->FileNew();
    const auto& cells = lines_->cells;
    for (int cx = CellOf(e.left, kCell); cx <= CellOf(e.right, kCell); ++cx)
        for (int cy = CellOf(e.top, kCell); cy <= CellOf(e.bottom, kCell); ++cy) {
            const long long key = CellKey(cx, cy);
            auto it = std::lower_bound(cells.begin(), cells.end(), std::pair<long long, int>(key, -1));
            for (; it != cells.end() && it->first == key; ++it) {
                const Segment& s = lines_->segments[it->second];
                if (LineMeets(e, s.x1, s.y1, s.x2, s.y2)) return false;
            }
        }
    return true;
}

bool TextBoard::Clear(int x1, int y1, int x2, int y2) const {
    return std::none_of(taken_.begin(), taken_.end(), [&](const TextExtent& t) { return LineMeets(t, x1, y1, x2, y2); });
}

void TextBoard::KeepLine(int ox, int oy, int x1, int y1, int x2, int y2) {
    if (lines_.use_count() > 1) lines_ = std::make_shared<Lines>(*lines_);
    lines_->segments.push_back(Segment{ox + x1, oy + y1, ox + x2, oy + y2});
}

void TextBoard::Lines::FileNew() {
    if (filed == segments.size()) return;
    const auto old = static_cast<std::ptrdiff_t>(cells.size());
    cells.reserve(cells.size() + segments.size() - filed);
    for (; filed < segments.size(); ++filed) {
        const Segment& s = segments[filed];
        for (int cx = CellOf(std::min(s.x1, s.x2), kCell); cx <= CellOf(std::max(s.x1, s.x2), kCell); ++cx)
            for (int cy = CellOf(std::min(s.y1, s.y2), kCell); cy <= CellOf(std::max(s.y1, s.y2), kCell); ++cy)
                cells.emplace_back(CellKey(cx, cy), static_cast<int>(filed));
    }
    std::sort(cells.begin() + old, cells.end());
    std::inplace_merge(cells.begin(), cells.begin() + old, cells.end());
}

}  // namespace kova::print
