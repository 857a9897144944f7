// Zoom tools, whole view and the endless scroll bars.
#include "editing/view_commands.hpp"

#include "tests/editing/tool_fixture.hpp"

namespace kova::test {
namespace {

using ViewCommands = ToolFixture;

TEST_F(ViewCommands, ScrollBarsPanByTwoHundredTwipsPerStep) {
    struct Case {
        ScrollBar bar;
        int from, to;
        double dLeft, dTop;
    };
    const Case cases[] = {
        {ScrollBar::Horizontal, 0, 3, 6, 0},
        {ScrollBar::Horizontal, 3, -2, -10, 0},
        {ScrollBar::Vertical, 0, -1, 0, 2},
        {ScrollBar::Vertical, -1, 4, 0, -10},
    };
    ed.cmd_mode = 3;
    ed.Tool()->picks.SelIndex = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        View(100, 10, 20);
        (c.bar == ScrollBar::Horizontal ? ed.HScrollPos : ed.VScrollPos) = static_cast<i16>(c.from);
        view.modes.clear();
        (c.bar == ScrollBar::Horizontal ? hsb_gm_Change : vsb_gm_Change)(ed, view, c.to);
        EXPECT_DOUBLE_EQ(ed.ViewLeftX, 10 + c.dLeft);
        EXPECT_DOUBLE_EQ(ed.ViewTopY, 20 + c.dTop);
        EXPECT_EQ(c.bar == ScrollBar::Horizontal ? ed.HScrollPos : ed.VScrollPos, c.to);
        // One full repaint with no tool, the line tool back afterwards.
        EXPECT_EQ(view.modes, std::vector<int>{1});
        EXPECT_EQ(ed.cmd_mode, 3);
        EXPECT_EQ(ed.old_mode, 0);
    }
}

TEST_F(ViewCommands, BarsWrapBeforeTheirEndsAndPanAgain) {
    View(100, 0, 0);
    ed.HScrollPos = 99;
    hsb_gm_Change(ed, view, 100);
    EXPECT_DOUBLE_EQ(ed.ViewLeftX, 2);
    EXPECT_EQ(ed.HScrollPos, 99);
    ASSERT_EQ(view.scrollSets.size(), 1u);
    EXPECT_EQ(view.scrollSets[0], (std::pair{ScrollBar::Horizontal, 99}));
    EXPECT_DOUBLE_EQ(ed.ViewScale, 100);
    hsb_gm_Change(ed, view, 100);
    EXPECT_DOUBLE_EQ(ed.ViewLeftX, 4);

    ed.VScrollPos = -99;
    vsb_gm_Change(ed, view, -100);
    EXPECT_DOUBLE_EQ(ed.ViewTopY, 2);
    EXPECT_EQ(ed.VScrollPos, -99);
    EXPECT_EQ(view.scrollSets.back(), (std::pair{ScrollBar::Vertical, -99}));

    // A program move of a bar under scale 0 pans and repaints nothing.
    ed.ViewScale = 0;
    const int repaints = view.refreshes;
    hsb_gm_Change(ed, view, 50);
    EXPECT_EQ(ed.HScrollPos, 99);
    EXPECT_EQ(view.refreshes, repaints);
}

TEST_F(ViewCommands, ZoomToolsRememberTheEditToolAndWholeViewReturnsToIt) {
    Point(0, 0);
    Point(100, -20);
    ed.cmd_mode = 3;
    SetZoomInMode(ed, view);
    EXPECT_EQ(ed.cmd_mode, 1);
    EXPECT_EQ(ed.old_mode, 3);
    EXPECT_EQ(view.cursor, CanvasCursor::Zoom);
    EXPECT_TRUE(view.toolbar[kToolZoomIn]);
    SetZoomOutMode(ed, view);
    EXPECT_EQ(ed.cmd_mode, 2);
    EXPECT_EQ(ed.old_mode, 3);
    EXPECT_FALSE(view.toolbar[kToolZoomIn]);
    EXPECT_TRUE(view.toolbar[kToolZoomOut]);

    view.modes.clear();
    ShowWholeView(m, ed, view);
    EXPECT_EQ(view.modes, (std::vector<int>{0, 3}));
    EXPECT_EQ(ed.cmd_mode, 3);
    EXPECT_EQ(ed.old_mode, 0);
    EXPECT_EQ(view.cursor, CanvasCursor::Arrow);
    EXPECT_FALSE(view.toolbar[kToolZoomIn]);
    EXPECT_FALSE(view.toolbar[kToolZoomOut]);
    EXPECT_FALSE(view.toolbar[kToolWholeView]);
    // Fitted to the points, bars back at 0.
    EXPECT_LT(ed.ViewLeftX, 0);
    EXPECT_GT(ed.ViewLeftX + ed.CanvasWidth / ed.ViewScale, 100);
    EXPECT_EQ(view.hScroll, 0);
    EXPECT_EQ(view.vScroll, 0);

    ed.cmd_mode = 0;
    ShowWholeView(m, ed, view);
    EXPECT_EQ(ed.cmd_mode, 0);

    // Zoom from no tool: whole view leaves it with no tool.
    SetZoomInMode(ed, view);
    EXPECT_EQ(ed.old_mode, 0);
    ShowWholeView(m, ed, view);
    EXPECT_EQ(ed.cmd_mode, 0);
}

}  // namespace
}  // namespace kova::test
