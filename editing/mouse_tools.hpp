#pragma once
// The canvas's mouse editing: one tool class per kind of tool, made for each
// cmd_mode from one table (every editor has its own set, EditorState::tools),
// each holding its prompt, what it does on activation, its picks, its clicks
// in model metres and the guides it draws over the section.
#include <array>
#include <string>

#include "editing/canvas_view.hpp"
#include "editing/editor_state.hpp"
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

// What a tool's guides are drawn with: dotted lines in the guide colour,
// model metres.
class GuidePainter {
public:
    virtual ~GuidePainter() = default;
    virtual void DottedLine(double x1, double y1, double x2, double y2) = 0;
};

// What a tool's clicks have picked. Each tool object holds its own: the
// user leaving the tool drops them, a hand-over (to a zoom and back) keeps
// them, and a pick handing on to its re-shape gives the block over.
struct ToolPicks {
    i16 SelIndex = -1;                    // the point, line or block the last click found
    i16 SelIndex2 = -1;                   // a chain's previous point
    i16 PickStep = 0;                     // how many of its two picks an intersection tool has
    std::array<i16, 2> PickPair{-1, -1};  // the two picks; a re-shape: block kind and index
    bool Held() const { return SelIndex != -1 || PickStep != 0 || PickPair[0] != -1; }
};

class CanvasTool {
public:
    explicit CanvasTool(int mode) : mode_(mode) {}
    virtual ~CanvasTool() = default;
    // Status-bar panel 1 while the tool is chosen ("" for none).
    virtual const char* Prompt() const { return ""; }
    // Run as cmd_mode changes from `from` to this tool, and from this tool
    // to `to`. A tool chosen by the user (`status` given) shows its prompt.
    virtual void Activate(EditorState&, CanvasView&, StatusPanels* status, int from) {
        (void)from;
        if (status && *Prompt()) status->SetStatusText(1, Prompt());
    }
    // A tool the user leaves for another (`chosen`) drops its picks; one
    // handing on (a pick to its re-shape, to a zoom and back) keeps them.
    virtual void Deactivate(EditorState& ed, CanvasView& view, int to, bool chosen) {
        if (chosen && to != CmdMode::kZoomIn && to != CmdMode::kZoomOut) DropPicks(ed, view);
    }
    // Whether the tool's clicks mark lines on the canvas (SelFlags), which
    // then go with its picks.
    virtual bool MarksLines() const { return false; }
    // Clears the tool's picks and marks; the canvas is repainted when it
    // held any.
    virtual void DropPicks(EditorState& ed, CanvasView& view);
    virtual void Press(ToolContext&, const CanvasInput&) {}
    virtual void Move(ToolContext&, const CanvasInput&) {}
    // Drawn after the points and lines of a full repaint.
    virtual void DrawGuides(const Model&, GuidePainter&) const {}
    // What the section itself shows differently while the tool is chosen:
    // a rubber band from a chain's point, picked terrain lines marked,
    // picked boundary lines extended.
    virtual bool ChainsLines() const { return false; }
    virtual bool MarksCutLines() const { return false; }
    virtual bool ExtendsPickedLines() const { return false; }
    // The tool in force after the whole view is shown: this one (a zoom
    // gives back the tool it interrupted).
    virtual int AfterWholeView(const EditorState&) const { return mode_; }

    ToolPicks picks;

protected:
    const int mode_;  // the cmd_mode of the tool's row in the table
};

// One past the highest cmd_mode of the tool table: its tools are 1 .. end - 1.
int ToolModeEnd();

// The tool of `mode`, if any, drops its picks.
void DropToolPicks(EditorState& ed, CanvasView& view, int mode);

// Makes `mode` the tool and returns it (null for none): the tool in force is
// deactivated, then the new one activated. `status`: the user chose it, the
// picks of the tool in force are dropped and its prompt shows; a tool that
// hands on to another (a pick, a zoom going back) passes none.
CanvasTool* SwitchTool(EditorState& ed, CanvasView& view, int mode, StatusPanels* status = nullptr);

// Why the tool in force is put down for none. Either way it is deactivated
// (a zoom gives back the arrow cursor and its buttons), no tool is kept to
// return to and every tool forgets its picks, with no repaint.
enum class ToolReset {
    kCanvasTaken,     // a palette, a dialog or a run: the marked lines stay
    kProjectChanged,  // a project opened or started: its lines are others
};
void ResetTool(EditorState& ed, CanvasView& view, ToolReset why);

// The mouse handlers of the canvas. The tool of each click is looked up
// afresh, so a tool that switches cmd_mode hands the next click on.
class ToolHost {
public:
    explicit ToolHost(ToolContext ctx) : ctx_(ctx) {}

    // Canvas events, positions in canvas twips.
    void pic_gm_MouseDown(int Button, int Shift, double X, double Y);
    void pic_gm_MouseMove(int Button, int Shift, double X, double Y);

    // The same in model metres.
    void Press(const CanvasInput& in);
    void Move(const CanvasInput& in);

private:
    CanvasInput Input(int Button, int Shift, double X, double Y) const;

    ToolContext ctx_;
};

// Panel 2's cursor read-out: "X:" and "Y:" each followed by the coordinate
// clamped to +-999.99 with two decimals, right-aligned in 7 characters.
std::string CursorReadout(double X, double Y);

}  // namespace kova
