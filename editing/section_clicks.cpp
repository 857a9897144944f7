#include "editing/section_clicks.hpp"

#include <cmath>
#include <cstddef>

#include "editing/view.hpp"
#include "model/trace.hpp"

namespace kova {

namespace {

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// Outline one block in yellow straight on the canvas (the next repaint
// removes it).
void DrawBlockMarks(const EditorState& ed, CanvasView& view, const SoilBlock& b) {
    constexpr int kYellow = 14;
    const int n = b.nPt < 0 ? 0 : (b.nPt > kMaxVertices ? kMaxVertices : b.nPt);
    if (n <= 0) return;
    // Far-off vertices are pinned to the int range rather than overflowing.
    auto twips = [](double v) {
        v = std::trunc(v);
        if (!(v > -1e9)) return -1000000000;
        if (v > 1e9) return 1000000000;
        return static_cast<int>(v);
    };
    auto tx = [&](int k) { return twips((b.PX[Idx(k)] - ed.ViewLeftX) * ed.ViewScale); };
    auto ty = [&](int k) { return twips((ed.ViewTopY - b.PY[Idx(k)]) * ed.ViewScale); };
    // Only the closed outline shows: each edge, the last back to the first.
    for (int k = 0; k < n; ++k) {
        int j = (k + 1) % n;
        view.DrawSegment(tx(k), ty(k), tx(j), ty(j), kYellow);
    }
}

BlockRef FindBlock(const Model& m, const EditorState& ed, float X, float Y, i16 Group) {
    double x, y;
    CanvasToModel(ed, X, Y, x, y);
    return NearestBlock(m, x, y, Group);
}

}  // namespace

BlockRef PickBlock(const Model& m, const EditorState& ed, CanvasView& view, i16 Button, float X, float Y, i16 Group) {
    if (Button == kRightButton) {
        view.Refresh();
        return {};
    }
    BlockRef f = FindBlock(m, ed, X, Y, Group);
    if (f.index >= 0) DrawBlockMarks(ed, view, BlockAt(m, f));
    return f;
}

void DeleteBlock(Model& m, const EditorState& ed, CanvasView& view, MessageSink& ui, i16& picked, i16 Button, float X,
                 float Y, i16 Group) {
    if (Button == kRightButton) return;
    BlockRef f = FindBlock(m, ed, X, Y, Group);
    if (f.index < 0) return;
    picked = f.index;
    DrawBlockMarks(ed, view, BlockAt(m, f));
    Message box{"指定したブロックを削除します", "削除確認", MsgIcon::None, MsgButtons::OkCancel, 1};
    if (ui.Show(box) == MsgAnswer::Ok) {
        if (RemoveBlockAt(m, f.kind, picked)) view.Refresh();
        picked = -1;
    } else {
        view.Refresh();
    }
}

i16 PickLine(const Model& m, const EditorState& ed, float X, float Y, bool cut) {
    const i16 count = cut ? m.CutLineCount : m.BndLineCount;
    if (count <= 0) return -1;
    double x, y;
    CanvasToModel(ed, X, Y, x, y);
    return NearestLine(m, cut ? m.CutLine : m.BndLine, count, x, y);
}

void RegisterBlock(Model& m, const EditorState& ed, CanvasView& view, MessageSink& ui, i16& picked, float X, float Y,
                   i16 kind, bool reshape, i16 index) {
    const bool cuts = kind == kKindCut;
    const LineTable& lines = cuts ? m.CutLine : m.BndLine;
    const i16 count = cuts ? m.CutLineCount : m.BndLineCount;
    if (count <= 0) return;
    double x, y;
    CanvasToModel(ed, X, Y, x, y);
    const Region r = OutlineAround(m, lines, count, x, y);
    picked = r.lastLine;
    if (r.end == RegionEnd::Outside) ui.Show(Message{"領域外が指定されました", "", MsgIcon::None, MsgButtons::Ok, 0});
    if (r.end == RegionEnd::TooManyVertices) ui.Notify("ブロックの構成点が100を超えるため登録できません。");
    if (r.end != RegionEnd::Closed) return;
    const Outline& o = r.outline;
    if (reshape ? SetBlockShape(m, kind, x, y, o, index) : AddBlock(m, kind, x, y, o)) view.Refresh();
    picked = -1;
}

AddLineResult AddBndLine(Model& m, const EditorState& v, CanvasView& canvas, MessageSink& ui, i16 P1, i16 P2,
                         bool cut) {
    const AddLineResult r = AppendLine(m, cut, ui, P1, P2);
    if (r != AddLineResult::Added) return r;
    const BoundaryPoint& a = m.BndPt[Idx(P1)];
    const BoundaryPoint& b = m.BndPt[Idx(P2)];
    int x1, y1, x2, y2;
    // A line too far off the canvas to be drawn now appears at the next repaint.
    if (ModelToCanvas(v, a.X, a.Y, x1, y1) && ModelToCanvas(v, b.X, b.Y, x2, y2))
        canvas.DrawSegment(x1, y1, x2, y2, cut ? kColourCutLine : kColourBndLine);
    return r;
}

}  // namespace kova
