#include "editing/mouse_tools.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>

#include "editing/tools/delete_block_tool.hpp"
#include "editing/tools/delete_line_tool.hpp"
#include "editing/tools/line_tool.hpp"
#include "editing/tools/pick_block_tool.hpp"
#include "editing/tools/point_line_tool.hpp"
#include "editing/tools/register_tool.hpp"
#include "editing/tools/two_lines_tool.hpp"
#include "editing/tools/zoom_tool.hpp"
#include "editing/view.hpp"
#include "textio/numfmt.hpp"

namespace kova {

namespace {

// The one place where a tool code meets its tool: each row makes the tool
// of its cmd_mode.
struct ToolRow {
    int mode;
    std::unique_ptr<CanvasTool> (*make)(int mode);
};
template <typename T>
std::unique_ptr<CanvasTool> Make(int mode) {
    return std::make_unique<T>(mode);
}

std::span<const ToolRow> Table() {
    using namespace tools;
    namespace M = CmdMode;
    static const ToolRow table[]{
        {M::kZoomIn, Make<ZoomTool>},
        {M::kZoomOut, Make<ZoomTool>},
        {M::kBoundaryLines, Make<LineTool>},
        {M::kDeleteBoundaryLines, Make<DeleteLineTool>},
        {M::kNewEmbankment, Make<RegisterTool>},
        {M::kNewSoilLayer, Make<RegisterTool>},
        {M::kPickFill, Make<PickBlockTool>},
        {M::kTerrainLines, Make<LineTool>},
        {M::kDeleteTerrainLines, Make<DeleteLineTool>},
        {M::kNewCut, Make<RegisterTool>},
        {M::kDeleteFill, Make<DeleteBlockTool>},
        {M::kDeleteCut, Make<DeleteBlockTool>},
        {M::kPickCut, Make<PickBlockTool>},
        {M::kReshapeEmbankment, Make<RegisterTool>},
        {M::kReshapeSoilLayer, Make<RegisterTool>},
        {M::kReshapeCut, Make<RegisterTool>},
        {M::kTwoLinesCrossing, Make<TwoLinesTool>},
        {M::kVerticalThroughPoint, Make<PointLineTool>},
        {M::kHorizontalThroughPoint, Make<PointLineTool>},
        {M::kFootOfPerpendicular, Make<PointLineTool>},
    };
    return table;
}

}  // namespace

int ToolModeEnd() {
    int end = 1;
    for (const ToolRow& r : Table()) end = std::max(end, r.mode + 1);
    return end;
}

ToolSet::ToolSet() : tools_(static_cast<std::size_t>(ToolModeEnd())) {
    for (const ToolRow& r : Table()) tools_[static_cast<std::size_t>(r.mode)] = r.make(r.mode);
}

ToolSet::~ToolSet() = default;

CanvasTool* ToolSet::For(int cmd_mode) const {
    if (cmd_mode < 0 || cmd_mode >= static_cast<int>(tools_.size())) return nullptr;
    return tools_[static_cast<std::size_t>(cmd_mode)].get();
}

void ToolSet::ForgetPicks() {
    for (auto& t : tools_)
        if (t) t->picks = {};
}

void CanvasTool::DropPicks(EditorState& ed, CanvasView& view) {
    bool held = picks.Held();
    picks = {};
    if (MarksLines()) {
        held = held || ed.SelCount > 0;
        ed.SelFlags.fill(-1);
        ed.SelCount = 0;
    }
    if (held) view.Refresh();
}

void DropToolPicks(EditorState& ed, CanvasView& view, int mode) {
    if (CanvasTool* t = ed.tools.For(mode)) t->DropPicks(ed, view);
}

CanvasTool* SwitchTool(EditorState& ed, CanvasView& view, int mode, StatusPanels* status) {
    const int from = ed.cmd_mode;
    if (CanvasTool* t = ed.Tool()) t->Deactivate(ed, view, mode, status != nullptr);
    ed.cmd_mode = mode;
    CanvasTool* t = ed.Tool();
    if (t) t->Activate(ed, view, status, from);
    return t;
}

void ResetTool(EditorState& ed, CanvasView& view, ToolReset why) {
    if (CanvasTool* t = ed.Tool()) t->Deactivate(ed, view, CmdMode::kNone, false);
    ed.cmd_mode = CmdMode::kNone;
    ed.SetOldMode(CmdMode::kNone);
    if (why == ToolReset::kProjectChanged) ed.ClearSelection();
    else ed.tools.ForgetPicks();
}

CanvasInput ToolHost::Input(int Button, int Shift, double X, double Y) const {
    CanvasInput in;
    CanvasToModel(ctx_.ed, X, Y, in.x, in.y);
    in.button = Button;
    in.shift = (Shift & 1) != 0;
    return in;
}

void ToolHost::pic_gm_MouseDown(int Button, int Shift, double X, double Y) { Press(Input(Button, Shift, X, Y)); }
void ToolHost::pic_gm_MouseMove(int Button, int Shift, double X, double Y) { Move(Input(Button, Shift, X, Y)); }

void ToolHost::Press(const CanvasInput& in) {
    ToolContext c = ctx_;
    if (CanvasTool* t = c.ed.Tool()) t->Press(c, in);
}

void ToolHost::Move(const CanvasInput& in) {
    ToolContext c = ctx_;
    if (c.m.BndPtCount <= 0) return;
    c.status.SetStatusText(2, CursorReadout(in.x, in.y));
    c.ed.CursorX = in.x;
    c.ed.CursorY = in.y;
    if (CanvasTool* t = c.ed.Tool()) t->Move(c, in);
}

std::string CursorReadout(double X, double Y) {
    auto field = [](double v) {
        v = std::isnan(v) ? 0 : std::clamp(v, -999.99, 999.99);
        // "####0.00": halves away from zero, no "-" on a value shown as 0.
        return AlignRight(FormatFixed(v, 2), 7);
    };
    return "X:" + field(X) + " Y:" + field(Y);
}

}  // namespace kova
