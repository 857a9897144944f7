#pragma once
// Tools 3 and 8: chain boundary (terrain) lines from point to point; the
// right button ends the chain.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"

namespace kova::tools {

class LineTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    const char* Prompt() const override {
        return mode_ == CmdMode::kTerrainLines ? "施工前地形線追加＞線分の始点～終点を指定してください "
                                               : "境界線追加＞始点～終点を指定してください ";
    }
    bool ChainsLines() const override { return true; }
    // picks.SelIndex: the chain's last point, the band's start; SelIndex2: the
    // point a new line starts from.
    void Press(ToolContext& c, const CanvasInput& in) override {
        EditorState& ed = c.ed;
        i16& last = picks.SelIndex;
        i16& from = picks.SelIndex2;
        if (ValidPoint(c.m, last)) {
            // Shrink the band to nothing before the picture changes.
            const BoundaryPoint& s = c.m.BndPt[Idx(last)];
            ed.RubberEndX = in.x;
            ed.RubberEndY = in.y;
            ed.CursorX = s.X;
            ed.CursorY = s.Y;
            c.view.Refresh();
        }
        if (in.button == kRightButton) {
            from = -1;
            last = -1;
            return;
        }
        last = FindBndPt(c.m, in.x, in.y, 10);
        if (last < 0) return;  // the chain waits at its last point
        const BoundaryPoint& p = c.m.BndPt[Idx(last)];
        ed.RubberEndX = p.X;
        ed.RubberEndY = p.Y;
        if (from != -1 && from != last) AddBndLine(c.m, ed, c.view, c.ui, from, last, mode_ == CmdMode::kTerrainLines);
        from = last;
    }
    void Move(ToolContext& c, const CanvasInput&) override {
        // The repaint only moves the band from the chain's point.
        if (picks.SelIndex >= 0) c.view.Refresh();
    }
};

}  // namespace kova::tools
