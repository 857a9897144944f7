#pragma once
// Tools 5, 6 and 10: a new embankment, soil layer or cut traced around the
// click; 14, 15 and 16: the picked block's new outline.
#include "editor/core/section_clicks.hpp"
#include "editor/core/tools/tool_support.hpp"

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
    void Press(ToolContext& c, const CanvasInput& in) const override {
        const bool cut = mode_ == CmdMode::kNewCut || mode_ == CmdMode::kReshapeCut;
        RegisterBlock(c.m, c.ed, c.view, c.ui, static_cast<i16>(in.button), TwipsX(c.ed, in.x), TwipsY(c.ed, in.y),
                      cut);
    }
};

}  // namespace kova::tools
