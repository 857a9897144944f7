#include "model/boundary.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/geometry.hpp"

namespace kova {

using LineTable = std::array<BoundaryLine, kMaxLines + 1>;

i16 FindBndPt(const Model& m, double X, double Y, double Tol) {
    // A coordinate that is not a number would pass every "greater than" test.
    if (!std::isfinite(X) || !std::isfinite(Y) || std::isnan(Tol)) return -1;
    auto point = [&](int i) {
        const BoundaryPoint& p = m.BndPt[static_cast<std::size_t>(i)];
        return std::pair{p.X, p.Y};
    };
    double dist = 0;
    return static_cast<i16>(NearestWithin(X, Y, Tol, std::min<int>(m.BndPtCount, kMaxBndPts + 1), point, dist));
}

namespace {

int UsedLines(i16 count) { return std::clamp<int>(count, 0, kMaxLines + 1); }

int LinesAtPoint(const LineTable& lines, int count, i16 pt) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const BoundaryLine& l = lines[static_cast<std::size_t>(i)];
        if (l.pt1 == pt || l.pt2 == pt) ++n;
    }
    return n;
}

}  // namespace

AddLineResult AppendLine(Model& m, bool cut, MessageSink& ui, i16 P1, i16 P2) {
    LineTable* lines = cut ? &m.CutLine : &m.BndLine;
    i16* count = cut ? &m.CutLineCount : &m.BndLineCount;
    auto refuse = [&](const char* text) {
        ui.Notify(text, MsgIcon::Exclamation);
        return AddLineResult::Refused;
    };
    int n = UsedLines(*count);
    i16 lo = std::min(P1, P2);
    i16 hi = std::max(P1, P2);
    if (lo < 0 || hi >= m.BndPtCount || hi > kMaxBndPts) return refuse("境界点がありません。");
    if (P1 == P2) return refuse("同じ境界点どうしを結ぶ線は登録できません。");
    for (int i = 0; i < n; ++i) {
        const BoundaryLine& l = (*lines)[static_cast<std::size_t>(i)];
        if (std::min(l.pt1, l.pt2) == lo && std::max(l.pt1, l.pt2) == hi) return AddLineResult::Exists;
    }
    if (n >= kMaxLines) return refuse("線の数が上限(500本)に達しているため、これ以上登録できません。");
    if (LinesAtPoint(*lines, n, P1) >= kMaxLinesAtPoint || LinesAtPoint(*lines, n, P2) >= kMaxLinesAtPoint)
        return refuse(kTooManyLinesAtPoint);

    (*lines)[static_cast<std::size_t>(n)] = BoundaryLine{P1, P2};
    *count = static_cast<i16>(n + 1);
    return AddLineResult::Added;
}

namespace {

// Moves the entries not marked removed (-1, -1) down in their order and
// returns how many were kept.
i16 Compact(LineTable& lines, int count) {
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        const BoundaryLine l = lines[static_cast<std::size_t>(i)];
        if (l.pt1 == -1 && l.pt2 == -1) continue;
        lines[static_cast<std::size_t>(kept++)] = l;
    }
    return static_cast<i16>(kept);
}

void Renumber(LineTable& lines, i16& countRef, int first, int delta, int kind) {
    int count = UsedLines(countRef);
    auto shift = [&](i16& pt, int by) {
        if (pt >= first + (kind == 2 ? delta : 0)) pt = static_cast<i16>(pt + by);
    };
    if (kind == 1) {
        for (int i = 0; i < count; ++i) {
            BoundaryLine& l = lines[static_cast<std::size_t>(i)];
            shift(l.pt1, delta);
            shift(l.pt2, delta);
        }
        return;
    }
    auto deleted = [&](i16 pt) { return pt >= first && pt < first + delta; };
    for (int i = 0; i < count; ++i) {
        BoundaryLine& l = lines[static_cast<std::size_t>(i)];
        if (deleted(l.pt1) || deleted(l.pt2)) l = BoundaryLine{-1, -1};
    }
    for (int i = 0; i < count; ++i) {
        BoundaryLine& l = lines[static_cast<std::size_t>(i)];
        shift(l.pt1, -delta);
        shift(l.pt2, -delta);
    }
    countRef = Compact(lines, count);
}

i16 DeleteSelected(LineTable& lines, i16& countRef, std::span<const i16> flags) {
    int count = UsedLines(countRef);
    for (int i = 0; i < count; ++i) {
        if (static_cast<std::size_t>(i) < flags.size() && flags[static_cast<std::size_t>(i)] > 0)
            lines[static_cast<std::size_t>(i)] = BoundaryLine{-1, -1};
    }
    countRef = Compact(lines, count);
    return countRef;
}

}  // namespace

void RenumberLinePoints(Model& m, i16 First, i16 Delta, i16 Kind) {
    if (Kind != 1 && Kind != 2) return;
    // Point indexes stay far inside the 16-bit range: the point table has
    // 501 slots, so larger shifts can only come from a caller's error.
    if (First < 0 || First > kMaxBndPts + 1 || Delta < 1 || Delta > kMaxBndPts + 1) return;
    Renumber(m.BndLine, m.BndLineCount, First, Delta, Kind);
    Renumber(m.CutLine, m.CutLineCount, First, Delta, Kind);
}

i16 DeleteSelectedBndLines(Model& m, std::span<const i16> flags) {
    return DeleteSelected(m.BndLine, m.BndLineCount, flags);
}

i16 DeleteSelectedCutLines(Model& m, std::span<const i16> flags) {
    return DeleteSelected(m.CutLine, m.CutLineCount, flags);
}

}  // namespace kova
