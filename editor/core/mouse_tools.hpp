#pragma once
// The canvas's mouse editing: one tool object per cmd_mode in one table,
// each taking clicks in model metres, and the editing methods those clicks
// reach (line chains, line deletion, intersection points).
#include <array>
#include <string>

#include "editor/core/canvas_view.hpp"
#include "editor/core/editor_state.hpp"
#include "platform/message.hpp"

namespace kova {

// A click or move in model metres; button 1 left, 2 right, 4 middle (any
// button but 2 acts as the left one).
struct CanvasInput {
    double x = 0;
    double y = 0;
    int button = 1;
    bool shift = false;
};

// The status-bar panels the tools write: 1 the tool's prompt, 2 the cursor.
class StatusPanels {
public:
    virtual ~StatusPanels() = default;
    virtual void SetStatusText(int panel, const std::string& text) = 0;
};

struct ToolContext {
    Model& m;
    EditorState& ed;
    CanvasView& view;
    MessageSink& ui;
    StatusPanels& status;
};

class CanvasTool {
public:
    virtual ~CanvasTool() = default;
    virtual void Press(ToolContext&, const CanvasInput&) {}
    virtual void Move(ToolContext&, const CanvasInput&) {}
};

// The mouse handlers of the canvas. The tool of each click is looked up
// afresh, so a tool that changes cmd_mode hands the next click on.
class ToolHost {
public:
    explicit ToolHost(ToolContext ctx);

    // Canvas events, positions in canvas twips.
    void pic_gm_MouseDown(int Button, int Shift, double X, double Y);
    void pic_gm_MouseMove(int Button, int Shift, double X, double Y);

    // The same in model metres.
    void Press(const CanvasInput& in);
    void Move(const CanvasInput& in);

    // The tool of a cmd_mode; null for none (0, -1 and unknown codes).
    CanvasTool* ToolFor(int cmd_mode) const;

private:
    CanvasInput Input(int Button, int Shift, double X, double Y) const;

    ToolContext ctx_;
    std::array<CanvasTool*, 21> table_{};
};

// Panel 2's cursor read-out: "X:" and "Y:" each followed by the coordinate
// clamped to +-999.99 with two decimals, right-aligned in 7 characters.
std::string CursorReadout(double X, double Y);

// Tools 3 and 8: chain lines from point to point; the right button ends the
// chain.
void add_line(ToolContext& c, int Button, double x, double y);
// Tools 4 and 9: toggle the line at the click; the right button offers to
// delete the selected lines.
void del_line(ToolContext& c, int Button, double x, double y);
// Appends the boundary point (X, Y) after the duplicate test and the
// confirmation; true when added. Does not repaint.
bool add_ktn(ToolContext& c, double X, double Y);
// Tool 17: the intersection of two picked boundary lines.
void add_lktn1(ToolContext& c, int Button, double x, double y);
// Tools 18, 19, 20: a base point, then lines: the vertical, the horizontal
// through the point, or the foot of its perpendicular, met with each line.
void add_lktn2(ToolContext& c, int Button, double x, double y);

}  // namespace kova
