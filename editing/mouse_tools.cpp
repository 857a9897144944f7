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

// The one place where a tool code meets its tool: row i is the tool of
// cmd_mode i.
std::span<const std::unique_ptr<const CanvasTool>> Table() {
    using namespace tools;
    namespace M = CmdMode;
    static const std::unique_ptr<const CanvasTool> table[]{
        nullptr,
        std::make_unique<ZoomTool>(M::kZoomIn),
        std::make_unique<ZoomTool>(M::kZoomOut),
        std::make_unique<LineTool>(M::kBoundaryLines),
        std::make_unique<DeleteLineTool>(M::kDeleteBoundaryLines),
        std::make_unique<RegisterTool>(M::kNewEmbankment),
        std::make_unique<RegisterTool>(M::kNewSoilLayer),
        std::make_unique<PickBlockTool>(M::kPickFill),
        std::make_unique<LineTool>(M::kTerrainLines),
        std::make_unique<DeleteLineTool>(M::kDeleteTerrainLines),
        std::make_unique<RegisterTool>(M::kNewCut),
        std::make_unique<DeleteBlockTool>(M::kDeleteFill),
        std::make_unique<DeleteBlockTool>(M::kDeleteCut),
        std::make_unique<PickBlockTool>(M::kPickCut),
        std::make_unique<RegisterTool>(M::kReshapeEmbankment),
        std::make_unique<RegisterTool>(M::kReshapeSoilLayer),
        std::make_unique<RegisterTool>(M::kReshapeCut),
        std::make_unique<TwoLinesTool>(M::kTwoLinesCrossing),
        std::make_unique<PointLineTool>(M::kVerticalThroughPoint),
        std::make_unique<PointLineTool>(M::kHorizontalThroughPoint),
        std::make_unique<PointLineTool>(M::kFootOfPerpendicular),
    };
    return table;
}

}  // namespace

int ToolModeEnd() { return static_cast<int>(Table().size()); }

const CanvasTool* ToolFor(int cmd_mode) {
    if (cmd_mode < 0 || cmd_mode >= ToolModeEnd()) return nullptr;
    return Table()[static_cast<std::size_t>(cmd_mode)].get();
}

void CanvasTool::DropPicks(EditorState& ed, CanvasView& view) const {
    const unsigned own = OwnPicks();
    bool held = false;
    if (own & Picks::kPoint) {
        held = ed.SelIndex != -1;
        ed.SelIndex = ed.SelIndex2 = -1;
    }
    if (own & Picks::kLines) {
        held = held || ed.SelCount > 0;
        ed.SelFlags.fill(-1);
        ed.SelCount = 0;
    }
    if (own & Picks::kPair) {
        held = held || ed.PickPair[0] != -1 || ed.PickStep > 0;
        ed.PickPair[0] = ed.PickPair[1] = -1;
        ed.PickStep = 0;
    }
    if (held) view.Refresh();
}

void DropToolPicks(EditorState& ed, CanvasView& view, int mode) {
    if (const CanvasTool* t = ToolFor(mode)) t->DropPicks(ed, view);
}

void SwitchTool(EditorState& ed, CanvasView& view, int mode, StatusPanels* status) {
    const int from = ed.cmd_mode;
    if (const CanvasTool* t = ToolFor(from)) t->Deactivate(ed, view, mode, status != nullptr);
    ed.cmd_mode = mode;
    if (const CanvasTool* t = ToolFor(mode)) t->Activate(ed, view, status, from);
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
    if (const CanvasTool* t = ToolFor(c.ed.cmd_mode)) t->Press(c, in);
}

void ToolHost::Move(const CanvasInput& in) {
    ToolContext c = ctx_;
    if (c.m.BndPtCount <= 0) return;
    c.status.SetStatusText(2, CursorReadout(in.x, in.y));
    c.ed.CursorX = in.x;
    c.ed.CursorY = in.y;
    if (const CanvasTool* t = ToolFor(c.ed.cmd_mode)) t->Move(c, in);
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
