#pragma once
// What several canvas tools share: clicks in canvas twips for the click
// edits, the picks, and a new boundary point at an intersection.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "editor/core/mouse_tools.hpp"
#include "editor/core/section_clicks.hpp"

namespace kova::tools {

inline std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// The click edits still take canvas twips, in single precision: clamped,
// since a far click must not overflow a float.
inline float ToFloat(double v) { return std::isnan(v) ? 0 : static_cast<float>(std::clamp(v, -1e30, 1e30)); }
inline float TwipsX(const EditorState& ed, double x) { return ToFloat((x - ed.ViewLeftX) * ed.ViewScale); }
inline float TwipsY(const EditorState& ed, double y) { return ToFloat((ed.ViewTopY - y) * ed.ViewScale); }

inline bool ValidPoint(const Model& m, int i) { return i >= 0 && i < std::min<int>(m.BndPtCount, kMaxBndPts + 1); }

// The boundary line i with both end points valid.
bool LineEnds(const Model& m, int i, const BoundaryPoint*& a, const BoundaryPoint*& b);

inline void ClearFlags(EditorState& ed) { ed.SelFlags.fill(-1); }
inline void DropPicks(EditorState& ed) {
    ClearFlags(ed);
    ed.SelCount = 0;
    ed.PickPair[0] = -1;
    ed.PickPair[1] = -1;
}
inline void SetFlag(EditorState& ed, int i, i16 v) {
    if (i >= 0 && i < static_cast<int>(ed.SelFlags.size())) ed.SelFlags[Idx(i)] = v;
}

// Appends the boundary point (X, Y) after the duplicate test and the
// confirmation; true when added. Does not repaint.
bool add_ktn(ToolContext& c, double X, double Y);
// An intersection found: the point rounded to millimetres; none: the box.
void AddIntersection(ToolContext& c, bool found, double X, double Y);

}  // namespace kova::tools
