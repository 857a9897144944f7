#pragma once
// Small builders and readers of the section model's line and block tables,
// for the tests of the model and of the editor's clicks.
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "model/model.hpp"

namespace kova::test {

using Pair = std::pair<int, int>;
using LineTable = std::array<BoundaryLine, kMaxLines + 1>;
using BlockTable = std::array<SoilBlock, kMaxBlocks + 1>;

// The first n lines as (pt1, pt2) pairs.
inline std::vector<Pair> Lines(const LineTable& t, int n) {
    std::vector<Pair> out;
    for (int i = 0; i < n; ++i)
        out.emplace_back(t[static_cast<std::size_t>(i)].pt1, t[static_cast<std::size_t>(i)].pt2);
    return out;
}

inline void SetLines(LineTable& t, i16& n, std::initializer_list<Pair> lines) {
    n = 0;
    for (auto [a, b] : lines) t[static_cast<std::size_t>(n++)] = BoundaryLine{static_cast<i16>(a), static_cast<i16>(b)};
}

// Appends a four-cornered block labelled at (cx, cy).
inline void PutBlock(BlockTable& t, i16& count, double cx, double cy, const char* name = "") {
    SoilBlock& b = t[static_cast<std::size_t>(count++)];
    b.CX = cx;
    b.CY = cy;
    b.Name = name;
    b.nPt = 4;
}

}  // namespace kova::test
