// The one table of canvas tools: a tool for every cmd_mode, and what
// switching between them leaves behind.
#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/blocks.hpp"
#include "testing/tool_picks.hpp"
#include "tests/editing/tool_fixture.hpp"

namespace kova::test {
namespace {

constexpr bool IsZoom(int mode) { return mode == CmdMode::kZoomIn || mode == CmdMode::kZoomOut; }

TEST(ToolTable, EveryModeOfEveryEditorHasItsOwnToolAndNoneOutside) {
    EditorState ed, other;
    std::set<const CanvasTool*> tools;
    for (int mode = CmdMode::kZoomIn; mode < ToolModeEnd(); ++mode) {
        const CanvasTool* t = ed.tools.For(mode);
        ASSERT_NE(t, nullptr) << mode;
        // Each mode of each editor its own object, holding its own picks.
        EXPECT_TRUE(tools.insert(t).second) << mode;
        EXPECT_TRUE(tools.insert(other.tools.For(mode)).second) << mode;
    }
    EXPECT_GT(ToolModeEnd(), CmdMode::kFootOfPerpendicular);
    for (int mode : {-1, CmdMode::kNone, ToolModeEnd(), ToolModeEnd() + 99, -99})
        EXPECT_EQ(ed.tools.For(mode), nullptr) << mode;
}

// What the section shows for a tool follows from what its clicks do, so a
// tool added to the table needs no line here: a tool chaining lines keeps the
// chain's point after two clicks on points, one extending picked lines picks
// lines in pairs, and one marking cut lines marks the lines it picks.
TEST_F(ToolFixture, SectionShowsTheToolsChainMarksAndExtensions) {
    const i16 p[] = {Point(0, 0), Point(10, 0), Point(10, 10), Point(0, 10)};
    for (int i = 0; i < 4; ++i) Line(p[i], p[(i + 1) % 4]);
    const Model square = m;
    for (int mode = CmdMode::kZoomIn; mode < ToolModeEnd(); ++mode) {
        m = square;
        ed.ClearSelection();
        SwitchTool(ed, view, mode, &status);
        const CanvasTool& t = *ed.Tool();
        bool chained = false, paired = false;
        for (auto [x, y] : {std::pair(0.0, 0.0), {10.0, 0.0}, {5.0, 0.1}, {10.0, 9.9}}) {
            Click(x, y);
            chained = chained || InForce().SelIndex2 != -1;
            paired = paired || InForce().PickStep != 0;
        }
        EXPECT_EQ(t.ChainsLines(), chained) << mode;
        EXPECT_EQ(t.ExtendsPickedLines(), paired) << mode;
        if (t.MarksCutLines()) {
            EXPECT_TRUE(t.MarksLines() && !paired) << mode;
        }
        SwitchTool(ed, view, CmdMode::kNone, &status);
    }
}

// Between tools other than the zooms only cmd_mode changes: no cursor, no
// toolbar, no repaint, old_mode and every tool's picks kept.
TEST_F(ToolFixture, SwitchingBetweenEditToolsChangesOnlyTheMode) {
    for (int from = -1; from < ToolModeEnd(); ++from)
        for (int to = -1; to < ToolModeEnd(); ++to) {
            if (IsZoom(from) || IsZoom(to)) continue;
            ed.cmd_mode = from;
            ed.old_mode = 6;
            PickWithEveryTool(ed, kSomePicks);
            SwitchTool(ed, view, to);
            EXPECT_EQ(std::tuple(ed.cmd_mode, ed.old_mode), std::tuple(to, 6)) << from << ">" << to;
            EXPECT_EQ(ToolsHolding(ed).size(), static_cast<std::size_t>(ToolModeEnd() - 1)) << from << ">" << to;
        }
    EXPECT_EQ(std::tuple(view.cursorSets, view.toolbar.size(), view.refreshes), std::tuple(0, 0u, 0));
}

// Whatever a tool picks with its clicks is its own: leaving it for another
// tool the user chooses leaves no pick behind, and repaints the canvas that
// showed them; no other tool, and no tool of another editor, picked anything.
// Every tool of the table, over a square of lines.
TEST_F(ToolFixture, LeavingAToolDropsWhatItsClicksPicked) {
    const i16 p[] = {Point(0, 0), Point(10, 0), Point(10, 10), Point(0, 10)};
    for (int i = 0; i < 4; ++i) Line(p[i], p[(i + 1) % 4]);
    const EditorState other;
    for (int mode = CmdMode::kBoundaryLines; mode < ToolModeEnd(); ++mode) {
        ed.ClearSelection();
        SwitchTool(ed, view, mode, &status);
        for (auto [x, y] : {std::pair(0.0, 0.0), {5.0, 0.1}, {5.0, 5.0}, {10.0, 9.9}}) Click(x, y);
        const std::vector<int> picked = ToolsHolding(ed);
        // Only the tool in force (a pick hands on to its re-shape) holds any.
        EXPECT_TRUE(picked.empty() || picked == std::vector<int>{ed.cmd_mode}) << mode;
        const bool held = !picked.empty() || ed.SelCount != 0;
        const int repaints = view.refreshes;
        SwitchTool(ed, view, CmdMode::kNone, &status);
        EXPECT_EQ(ToolsHolding(ed), std::vector<int>{}) << mode;
        EXPECT_EQ(ed.SelCount, 0) << mode;
        EXPECT_EQ(std::count(ed.SelFlags.begin(), ed.SelFlags.end(), 1), 0) << mode;
        EXPECT_EQ(view.refreshes - repaints, held ? 1 : 0) << mode;
        EXPECT_EQ(ToolsHolding(other), std::vector<int>{}) << mode;
    }
}

// A tool the user chooses shows its own prompt; one a tool hands on to
// (a pick, a zoom going back) leaves the panel as it stands.
TEST_F(ToolFixture, ChosenToolsShowTheirPromptHandedOnOnesDoNot) {
    for (int mode = CmdMode::kZoomIn; mode < ToolModeEnd(); ++mode) {
        status.SetStatusText(1, "before");
        ed.cmd_mode = CmdMode::kNone;
        SwitchTool(ed, view, mode);
        EXPECT_EQ(status.Text(1), "before") << mode;
        ed.cmd_mode = CmdMode::kNone;
        SwitchTool(ed, view, mode, &status);
        const std::string prompt = ed.tools.For(mode)->Prompt();
        EXPECT_EQ(status.Text(1), prompt.empty() ? "before" : prompt) << mode;
    }
}

TEST_F(ToolFixture, ZoomToolsSaveTheToolTheyInterruptAndEndWhenReplaced) {
    struct Case {
        int from, oldBefore, to;
        int oldAfter;
        CanvasCursor cursor;
        bool in, out;
    } cases[] = {
        {0, 0, 1, 0, CanvasCursor::Zoom, true, false},
        {-1, 4, 2, 4, CanvasCursor::Zoom, false, true},
        {3, 0, 1, 3, CanvasCursor::Zoom, true, false},
        {20, 0, 2, 20, CanvasCursor::Zoom, false, true},
        {1, 8, 2, 8, CanvasCursor::Zoom, false, true},  // the other zoom keeps the saved tool
        {2, 8, 1, 8, CanvasCursor::Zoom, true, false},
        {1, 8, 5, 0, CanvasCursor::Arrow, false, false},  // a palette tool replaces the zoom
        {2, 13, 0, 0, CanvasCursor::Arrow, false, false},
        {1, 3, 17, 0, CanvasCursor::Arrow, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ">" + std::to_string(c.to));
        ed.cmd_mode = c.from;
        ed.old_mode = c.oldBefore;
        view.toolbar.clear();
        const int cursors = view.cursorSets;
        SwitchTool(ed, view, c.to);
        EXPECT_EQ(std::tuple(ed.cmd_mode, ed.old_mode), std::tuple(c.to, c.oldAfter));
        EXPECT_EQ(std::tuple(view.cursor, view.cursorSets - cursors), std::tuple(c.cursor, 1));
        EXPECT_EQ(view.toolbar, (std::map<int, bool>{{kToolZoomIn, c.in}, {kToolZoomOut, c.out}}));
        EXPECT_EQ(view.refreshes, 0);
    }
}

}  // namespace
}  // namespace kova::test
