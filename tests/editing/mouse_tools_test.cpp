// Mouse editing: the read-out, line chains, line deletion, intersections.
#include "editing/mouse_tools.hpp"

#include "tests/editing/tool_fixture.hpp"

namespace kova::test {
namespace {

using MouseTools = ToolFixture;

const std::string kNoIntersection = "交点計算不能" + std::string(12, ' ');

TEST_F(MouseTools, CursorReadoutRightAlignsClampedCoordinates) {
    struct Case {
        double x, y;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, 5, "X: 999.99 Y:   5.00"},
        {-999.99, -0.004, "X:-999.99 Y:   0.00"},
        {-1e12, 12.346, "X:-999.99 Y:  12.35"},
        // "####0.00" rounds halves away from zero, as the number texts do.
        {0.125, -0.125, "X:   0.13 Y:  -0.13"},
        {-0.005, 1.005, "X:  -0.01 Y:   1.01"},
        {-12.345, 999.985, "X: -12.35 Y: 999.99"},
    };
    Point(0, 0);
    for (const Case& c : cases) {
        host.Move({c.x, c.y, 0, false});
        EXPECT_EQ(status.Text(2), c.text);
        EXPECT_EQ(ed.CursorX, c.x);
    }
    // With no points nothing is read out or kept.
    m.BndPtCount = 0;
    host.Move({1, 1, 0, false});
    EXPECT_EQ(status.Text(2), "X: -12.35 Y: 999.99");
    EXPECT_EQ(ed.CursorX, -12.345);
}

TEST_F(MouseTools, LineChainJoinsEachFoundPointToTheLast) {
    for (int i = 0; i < 10; ++i) Point(i * 20.0, 0);
    ed.cmd_mode = 3;
    for (int p : {4, 7, 7, 2}) Click(p * 20.0 + 3, 4);
    ASSERT_EQ(m.BndLineCount, 2);
    EXPECT_EQ(m.BndLine[0].pt1, 4);
    EXPECT_EQ(m.BndLine[0].pt2, 7);
    EXPECT_EQ(m.BndLine[1].pt1, 7);
    EXPECT_EQ(m.BndLine[1].pt2, 2);
    // A click that finds nothing keeps the chain at its last point.
    Click(30, 30);
    EXPECT_EQ(InForce().SelIndex, -1);
    Click(181, 0);
    EXPECT_EQ(m.BndLineCount, 3);
    EXPECT_EQ(m.BndLine[2].pt1, 2);
    // Moving with a chain point repaints (the band); the right click ends it.
    const int before = view.refreshes;
    host.Move({50, 50, 0, false});
    EXPECT_EQ(view.refreshes, before + 1);
    Right();
    EXPECT_EQ(InForce().SelIndex, -1);
    EXPECT_EQ(InForce().SelIndex2, -1);
    Click(0, 0);
    EXPECT_EQ(m.BndLineCount, 3);
    // Terrain lines go to the other table.
    ed.cmd_mode = 8;
    Click(0, 0);
    Click(20, 0);
    EXPECT_EQ(m.CutLineCount, 1);
}

TEST_F(MouseTools, PointsAreFoundWithinTenMetresAtAnyZoomTiesToTheHigherNumber) {
    Point(0, 0);
    Point(20, 0);
    ed.cmd_mode = 3;
    for (double scale : {20.0, 5000.0}) {
        SCOPED_TRACE(scale);
        View(scale, -30, 30);
        struct Case {
            double x, y;
            int found;
        };
        for (Case c : {Case{-10, 0, 0}, Case{0, -10.01, -1}, Case{6, 8, 0}, Case{10, 0, 1}, Case{29.5, 0, 1}}) {
            Right();
            host.pic_gm_MouseDown(1, 0, (c.x - ed.ViewLeftX) * scale, (ed.ViewTopY - c.y) * scale);
            EXPECT_EQ(InForce().SelIndex, c.found) << c.x << "," << c.y;
        }
    }
}

TEST_F(MouseTools, DeleteToolTogglesAndCancelStillClears) {
    const i16 a = Point(0, 0), b = Point(10, 0), c = Point(10, -10);
    Line(a, b);
    Line(b, c);
    ed.cmd_mode = 4;
    Right();  // nothing selected: no question
    EXPECT_EQ(ui.Count(), 0u);
    Click(5, 0.5);
    Click(10.5, -5);
    Click(5, 0.5);  // second click on the same line releases it
    EXPECT_EQ(ed.SelFlags[0], -1);
    EXPECT_EQ(ed.SelFlags[1], 1);
    EXPECT_EQ(ed.SelCount, 1);

    ui.Script(MsgAnswer::Cancel);
    Right();
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "選択した要素を削除しますか？");
    EXPECT_EQ(ui.Last().caption, "境界線削除");
    EXPECT_EQ(ui.Last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(m.BndLineCount, 2);
    EXPECT_EQ(ed.SelCount, 0);
    EXPECT_EQ(ed.SelFlags[1], -1);

    Click(10.5, -5);
    ui.Script(MsgAnswer::Ok);
    Right();
    ASSERT_EQ(m.BndLineCount, 1);
    EXPECT_EQ(m.BndLine[0].pt2, b);
    EXPECT_EQ(ed.SelCount, 0);
}

TEST_F(MouseTools, TwoLineIntersectionKeepsTheFirstLine) {
    const i16 p0 = Point(0, 0), p1 = Point(10, 10), p2 = Point(0, 10), p3 = Point(10, 0);
    const i16 p4 = Point(0, 4), p5 = Point(10, 4);
    const i16 diag = Line(p0, p1);
    Line(p2, p3);
    Line(p4, p5);
    ed.cmd_mode = 17;
    Click(1, 1.2);
    EXPECT_EQ(InForce().PickStep, 1);
    EXPECT_EQ(status.Text(1), "交点計算＞線分２を指定してください ");
    Click(9, 1.2);  // the other diagonal: (5, 5)
    ASSERT_EQ(m.BndPtCount, 7);
    EXPECT_EQ(m.BndPt[6].X, 5);
    EXPECT_EQ(m.BndPt[6].Y, 5);
    EXPECT_EQ(ui.Last().text, "交点を作成します");
    EXPECT_EQ(InForce().PickStep, 1);
    EXPECT_EQ(InForce().PickPair[0], diag);
    EXPECT_EQ(InForce().PickPair[1], -1);
    EXPECT_EQ(ed.SelFlags[diag], 1);

    Click(8, 3.9);  // the horizontal line, still against the first diagonal
    ASSERT_EQ(m.BndPtCount, 8);
    EXPECT_EQ(m.BndPt[7].X, 4);

    // The same line twice is parallel to itself.
    Right();
    EXPECT_EQ(InForce().PickPair[0], -1);
    Click(1, 1.2);
    Click(1, 1.2);
    EXPECT_EQ(ui.Last().text, kNoIntersection);
    EXPECT_EQ(ui.Last().caption, "交点計算");
    EXPECT_EQ(m.BndPtCount, 8);

    // A stale pick count starts the picks over instead of writing past slot 1.
    InForce().PickStep = 2;
    InForce().PickPair = {5, 5};
    Click(9, 1.2);
    EXPECT_EQ(InForce().PickStep, 1);
    EXPECT_EQ(InForce().PickPair[0], 1);
}

TEST_F(MouseTools, VerticalThroughAPointMeetsEachLineInTurn) {
    const i16 base = Point(3.21, -5);
    Line(Point(0, 0), Point(10, 10));
    Line(Point(0, 20), Point(10, 30));
    ed.cmd_mode = 18;
    Click(3, -5);
    EXPECT_EQ(InForce().SelIndex, base);
    EXPECT_EQ(status.Text(1), "交点計算＞交差する線分を指定してください ");
    Click(8, 8.5);
    ASSERT_EQ(m.BndPtCount, 6);
    EXPECT_DOUBLE_EQ(m.BndPt[5].X, 3.21);
    EXPECT_DOUBLE_EQ(m.BndPt[5].Y, 3.21);
    EXPECT_EQ(InForce().PickPair[0], base);
    Click(8, 28.5);
    ASSERT_EQ(m.BndPtCount, 7);
    EXPECT_DOUBLE_EQ(m.BndPt[6].X, 3.21);
    EXPECT_DOUBLE_EQ(m.BndPt[6].Y, 23.21);

    // Horizontal and perpendicular from the same base, on the first line.
    struct Case {
        int tool;
        double x, y;
    };
    for (Case c : {Case{19, -5, -5}, Case{20, -0.895, -0.895}}) {
        SCOPED_TRACE(c.tool);
        ed.cmd_mode = c.tool;
        Right();
        Click(3, -5);
        Click(8, 8.5);
        ASSERT_EQ(m.BndPtCount, 8);
        EXPECT_NEAR(m.BndPt[7].X, c.x, 1e-9);
        EXPECT_NEAR(m.BndPt[7].Y, c.y, 1e-9);
        m.BndPtCount = 7;
    }
}

TEST_F(MouseTools, NewPointsRefusedAsDuplicatesOrBeyondFiveHundred) {
    Line(Point(0, 0), Point(10, 10));
    Line(Point(0, 10), Point(10, 0));
    Point(5, 5.00005);
    ed.cmd_mode = 17;
    Click(1, 1.2);
    Click(9, 1.2);
    EXPECT_EQ(ui.Last().text, "同一座標の境界点が存在します。");
    EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.BndPtCount, 5);

    m.BndPt[4].X = 400;
    while (m.BndPtCount < kMaxBndPts) Point(1000 + m.BndPtCount, 0);
    Click(9, 1.2);
    EXPECT_EQ(ui.Last().text, "境界点の数が上限(500点)に達しているため、これ以上登録できません。");
    EXPECT_EQ(m.BndPtCount, kMaxBndPts);

    // Cancel to the confirmation adds nothing.
    m.BndPtCount = 5;
    ui.Script(MsgAnswer::Cancel);
    Click(9, 1.2);
    EXPECT_EQ(m.BndPtCount, 5);
}

TEST_F(MouseTools, ClicksOutsideEveryToolDoNothing) {
    Line(Point(0, 0), Point(10, 0));
    for (int mode : {0, -1, ToolModeEnd(), ToolModeEnd() + 78}) {
        ed.cmd_mode = mode;
        EXPECT_EQ(ed.tools.For(mode), nullptr);
        Click(5, 0);
    }
    EXPECT_EQ(view.refreshes, 0);
    EXPECT_EQ(ed.SelCount, 0);
}

}  // namespace
}  // namespace kova::test
