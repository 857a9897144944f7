#pragma once
// The state of the editor beside the section model: which canvas tool a
// click drives, the editor's own tools, the view rectangle and the lines
// marked on the canvas.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/model.hpp"

namespace kova {

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The values of EditorState::cmd_mode: which canvas tool a click drives.
// They stay plain ints: menus, palettes and the tool table index by them.
namespace CmdMode {
inline constexpr int kNone = 0;
inline constexpr int kZoomIn = 1;
inline constexpr int kZoomOut = 2;
inline constexpr int kBoundaryLines = 3;
inline constexpr int kDeleteBoundaryLines = 4;
inline constexpr int kNewEmbankment = 5;
inline constexpr int kNewSoilLayer = 6;
inline constexpr int kPickFill = 7;  // an embankment or a soil layer
inline constexpr int kTerrainLines = 8;
inline constexpr int kDeleteTerrainLines = 9;
inline constexpr int kNewCut = 10;
inline constexpr int kDeleteFill = 11;
inline constexpr int kDeleteCut = 12;
inline constexpr int kPickCut = 13;
inline constexpr int kReshapeEmbankment = 14;
inline constexpr int kReshapeSoilLayer = 15;
inline constexpr int kReshapeCut = 16;
inline constexpr int kTwoLinesCrossing = 17;
inline constexpr int kVerticalThroughPoint = 18;
inline constexpr int kHorizontalThroughPoint = 19;
inline constexpr int kFootOfPerpendicular = 20;
}  // namespace CmdMode

// The tool option of the main window's strip that selects no tool and closes
// the palettes; palettes and several dialogs select it as they close so that
// the option that opened them can be chosen again.
inline constexpr int kNoToolOption = 7;

class CanvasTool;

// The canvas tools of one editor, one object for each cmd_mode of the tool
// table; each holds its own picks, so two editors share none.
class ToolSet {
public:
    ToolSet();
    ~ToolSet();
    ToolSet(const ToolSet&) = delete;
    ToolSet& operator=(const ToolSet&) = delete;
    // The tool of a cmd_mode; null for none (0, -1 and unknown codes).
    CanvasTool* For(int cmd_mode) const;
    // Every tool forgets its picks, with no repaint.
    void ForgetPicks();

private:
    std::vector<std::unique_ptr<CanvasTool>> tools_;
};

// The view, the tools and the marks of the canvas.
struct EditorState {
    double ViewLeftX = 0;
    double ViewBottomY = 0;
    double ViewRightX = 0;
    double ViewTopY = 0;
    double ViewScale = 1;           // canvas twips per model metre
    std::int32_t CanvasWidth = 0;   // twips
    std::int32_t CanvasHeight = 0;  // twips
    i16 HScrollPos = 0;
    i16 VScrollPos = 0;
    double CursorX = 0;
    double CursorY = 0;
    double RubberEndX = 0;
    double RubberEndY = 0;
    // Lines marked on the canvas (1), by the line-delete and intersection
    // tools; they show with no tool in force.
    std::array<i16, 1001> SelFlags{};
    i16 SelCount = 0;  // lines marked in SelFlags by the line-delete tools
    std::array<ScreenPoint, 101> PolyPts{};
    int cmd_mode = 0;  // current edit tool, one of the CmdMode values below
    int old_mode = 0;  // tool interrupted by a zoom or scroll (SetOldMode)
    // Set as a zoom hands back to the tool it interrupted: the next repaint
    // is full, also where it would only move a rubber band. SetOldMode ends it.
    bool repaintFullyOnce = false;
    ToolSet tools;

    EditorState() { SelFlags.fill(-1); }
    void SetOldMode(int mode) {
        old_mode = mode;
        repaintFullyOnce = false;
    }
    // The tool in force, if any.
    CanvasTool* Tool() const { return tools.For(cmd_mode); }
    // Every pick goes: the tools' and the marked lines.
    void ClearSelection() {
        tools.ForgetPicks();
        SelFlags.fill(-1);
        SelCount = 0;
    }
};

}  // namespace kova
