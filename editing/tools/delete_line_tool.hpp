#pragma once
// Tools 4 and 9: toggle the boundary (terrain) line at the click; the right
// button offers to delete the selected lines.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"

namespace kova::tools {

class DeleteLineTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    bool Cut() const { return mode_ == CmdMode::kDeleteTerrainLines; }
    const char* Prompt() const override {
        return Cut() ? "施工前地形線削除＞削除する線分を指定してください "
                     : "境界線削除＞削除する境界線を指定してください ";
    }
    bool MarksCutLines() const override { return Cut(); }
    bool MarksLines() const override { return true; }
    void Press(ToolContext& c, const CanvasInput& in) override {
        EditorState& ed = c.ed;
        if (in.button != kRightButton) {
            const int i = PickLine(c.m, ed, TwipsX(ed, in.x), TwipsY(ed, in.y), Cut());
            if (i >= 0 && i < static_cast<int>(ed.SelFlags.size())) {
                i16& flag = ed.SelFlags[Idx(i)];
                ed.SelCount = static_cast<i16>(ed.SelCount + (flag == -1 ? 1 : -1));
                flag = flag == -1 ? 1 : -1;
            }
            picks.SelIndex = -1;
            c.view.Refresh();
            return;
        }
        if (ed.SelCount <= 0) return;
        const Message ask{"選択した要素を削除しますか？", "境界線削除", MsgIcon::Question, MsgButtons::OkCancel, 0};
        if (c.ui.Show(ask) == MsgAnswer::Ok)
            (Cut() ? DeleteSelectedCutLines : DeleteSelectedBndLines)(c.m, ed.SelFlags);
        ClearFlags(ed);
        ed.SelCount = 0;
        c.view.Refresh();
    }
};

}  // namespace kova::tools
