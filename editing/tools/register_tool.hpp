#pragma once
// Tools 5, 6 and 10: a new embankment, soil layer or cut traced around the
// click; 14, 15 and 16: the picked block's new outline.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"
#include "model/blocks.hpp"

namespace kova::tools {

class RegisterTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    const char* Prompt() const override {
        switch (mode_) {
        case CmdMode::kNewEmbankment: return "新規盛土登録＞盛土ブロックとなる領域の内側を指定してください ";
        case CmdMode::kNewSoilLayer: return "新規土層登録＞土層ブロックとなる領域の内側を指定してください ";
        case CmdMode::kNewCut: return "切り土ブロック登録＞切り土ブロックとなる領域の内部を指定してください ";
        default: return "";  // the re-shape tools follow a pick
        }
    }
    // picks.PickPair: a re-shape's block (kind, index), handed over by its pick
    // tool; picks.SelIndex: the last line traced.
    void Press(ToolContext& c, const CanvasInput& in) override {
        const bool reshape = mode_ >= CmdMode::kReshapeEmbankment && mode_ <= CmdMode::kReshapeCut;
        const i16 kind = mode_ == CmdMode::kNewEmbankment || mode_ == CmdMode::kReshapeEmbankment ? kKindEmbankment
                         : mode_ == CmdMode::kNewSoilLayer || mode_ == CmdMode::kReshapeSoilLayer
                             ? kKindSoilLayer
                             : kKindCut;
        if (in.button != kRightButton) {
            RegisterBlock(c.m, c.ed, c.view, c.ui, picks.SelIndex, TwipsX(c.ed, in.x), TwipsY(c.ed, in.y), kind,
                          reshape, picks.PickPair[1]);
            return;
        }
        if ((kind == kKindCut ? c.m.CutLineCount : c.m.BndLineCount) <= 0) return;
        // The right button leaves a re-shape for the pick it came from.
        if (reshape) SwitchTool(c.ed, c.view, kind == kKindCut ? CmdMode::kPickCut : CmdMode::kPickFill);
        picks = {};
        c.view.Refresh();
    }
};

}  // namespace kova::tools
