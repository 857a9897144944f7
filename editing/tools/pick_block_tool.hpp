#pragma once
// Tools 7 and 13: pick an embankment or soil layer (a cut) by its label
// point; the pick switches to its re-shape tool.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"
#include "model/blocks.hpp"

namespace kova::tools {

class PickBlockTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    bool Cut() const { return mode_ == CmdMode::kPickCut; }
    const char* Prompt() const override {
        return Cut() ? "切り土ブロック再認識＞切り土ブロック中心点を指定し任意の領域へ移動してください "
                     : "ブロック再認識＞ブロック中心点を指定し任意の領域へ移動してください ";
    }
    void Press(ToolContext& c, const CanvasInput& in) override {
        const BlockRef f = PickBlock(c.m, c.ed, c.view, static_cast<i16>(in.button), TwipsX(c.ed, in.x),
                                     TwipsY(c.ed, in.y), Cut() ? kGroupCut : kGroupFill);
        if (f.index < 0) return;
        // The picked block is handed to its kind's re-shape tool.
        CanvasTool* reshape = SwitchTool(c.ed, c.view,
                                         f.kind == kKindEmbankment  ? CmdMode::kReshapeEmbankment
                                         : f.kind == kKindSoilLayer ? CmdMode::kReshapeSoilLayer
                                                                    : CmdMode::kReshapeCut);
        if (reshape) reshape->picks.PickPair = {f.kind, f.index};
        picks.SelIndex = -1;
    }
};

}  // namespace kova::tools
