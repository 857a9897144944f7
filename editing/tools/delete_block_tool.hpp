#pragma once
// Tools 11 and 12: delete the embankment or soil layer (the cut) whose
// label point is nearest the click, after asking.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"
#include "model/blocks.hpp"

namespace kova::tools {

class DeleteBlockTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    bool Cut() const { return mode_ == CmdMode::kDeleteCut; }
    const char* Prompt() const override {
        return Cut() ? "切り土ブロック削除＞削除する切り土ブロック中心点を指定してください "
                     : "ブロック削除＞削除するブロック中心点を指定してください ";
    }
    void Press(ToolContext& c, const CanvasInput& in) override {
        DeleteBlock(c.m, c.ed, c.view, c.ui, picks.SelIndex, static_cast<i16>(in.button), TwipsX(c.ed, in.x),
                    TwipsY(c.ed, in.y), Cut() ? kGroupCut : kGroupFill);
    }
};

}  // namespace kova::tools
