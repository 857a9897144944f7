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
    unsigned OwnPicks() const override { return Picks::kPoint; }  // the chain's last point
    void Press(ToolContext& c, const CanvasInput& in) const override {
        EditorState& ed = c.ed;
        if (ValidPoint(c.m, ed.SelIndex)) {
            // Shrink the band to nothing before the picture changes.
            const BoundaryPoint& s = c.m.BndPt[Idx(ed.SelIndex)];
            ed.RubberEndX = in.x;
            ed.RubberEndY = in.y;
            ed.CursorX = s.X;
            ed.CursorY = s.Y;
            c.view.Refresh();
        }
        if (in.button == kRightButton) {
            ed.SelIndex2 = -1;
            ed.SelIndex = -1;
            return;
        }
        ed.SelIndex = FindBndPt(c.m, in.x, in.y, 10);
        if (ed.SelIndex < 0) return;  // the chain waits at its last point
        const BoundaryPoint& p = c.m.BndPt[Idx(ed.SelIndex)];
        ed.RubberEndX = p.X;
        ed.RubberEndY = p.Y;
        if (ed.SelIndex2 != -1 && ed.SelIndex2 != ed.SelIndex)
            AddBndLine(c.m, ed, c.view, c.ui, ed.SelIndex2, ed.SelIndex, mode_ == CmdMode::kTerrainLines);
        ed.SelIndex2 = ed.SelIndex;
    }
    void Move(ToolContext& c, const CanvasInput&) const override {
        // The repaint only moves the band from the chain's point.
        if (c.ed.SelIndex >= 0) c.view.Refresh();
    }
};

}  // namespace kova::tools
