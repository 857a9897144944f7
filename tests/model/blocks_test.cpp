#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "model/blocks.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"

namespace kova {
namespace {

// An axis-aligned rectangle as a clockwise traced outline.
Outline Rect(double x0, double y0, double x1, double y1) {
    Outline o;
    o.n = 4;
    const double xs[] = {x0, x0, x1, x1, x0}, ys[] = {y0, y1, y1, y0, y0};
    for (int i = 0; i <= 4; ++i) {
        o.X[i] = xs[i];
        o.Y[i] = ys[i];
    }
    return o;
}

void PutBlock(BlockTable& t, i16& count, double cx, double cy, const char* name = "") {
    SoilBlock& b = t[count++];
    b.CX = cx;
    b.CY = cy;
    b.Name = name;
    b.nPt = 4;
}

// One model metre is 100 twips; the canvas top is at y = 100.
struct Blocks : ::testing::Test {
    std::unique_ptr<Model> m = std::make_unique<Model>();
    EditorState ed;
    RecordingCanvas canvas;
    RecordingMessages ui;
    void SetUp() override {
        ed.ViewScale = 100;
        ed.ViewLeftX = 0;
        ed.ViewTopY = 100;
    }
    void Pick(double x, double y, i16 group, i16 button = 1) {
        PickBlock(*m, ed, canvas, button, static_cast<float>(x * 100), static_cast<float>((100 - y) * 100), group);
    }
    void Delete(double x, double y, i16 group, i16 button = 1) {
        DeleteBlock(*m, ed, canvas, ui, button, static_cast<float>(x * 100), static_cast<float>((100 - y) * 100), group);
    }
};

TEST_F(Blocks, TwentyFirstIsRefused) {
    for (int i = 0; i < kMaxBlocks; ++i) ASSERT_TRUE(AddEmbankment(*m, canvas, i * 10 + 5, 5, Rect(i * 10, 0, i * 10 + 10, 10)));
    const int refreshes = canvas.refreshes;
    EXPECT_FALSE(AddEmbankment(*m, canvas, 305, 5, Rect(300, 0, 310, 10)));
    EXPECT_EQ(m->EmbankmentCount, 20);
    EXPECT_EQ(canvas.refreshes, refreshes);
    // An over-full count from a damaged file is refused just the same.
    m->CutCount = 21;
    EXPECT_FALSE(AddCut(*m, canvas, 5, 5, Rect(0, 0, 10, 10)));
    EXPECT_EQ(m->CutCount, 21);
}

TEST_F(Blocks, LabelPointCrossChecks) {
    ASSERT_TRUE(AddEmbankment(*m, canvas, 5, 5, Rect(0, 0, 10, 10)));
    // A soil layer around the embankment's label point is refused.
    EXPECT_FALSE(AddSoilLayer(*m, canvas, 15, 5, Rect(-10, -10, 20, 20)));
    EXPECT_EQ(m->SoilLayerCount, 0);
    // Beside it is accepted; then an embankment around the layer's label is refused.
    ASSERT_TRUE(AddSoilLayer(*m, canvas, 15, 5, Rect(10, 0, 20, 10)));
    EXPECT_FALSE(AddEmbankment(*m, canvas, 25, 5, Rect(12, 0, 30, 10)));
    // Cuts are tested only against cuts.
    EXPECT_TRUE(AddCut(*m, canvas, 5, 5, Rect(-10, -10, 30, 20)));
    EXPECT_FALSE(AddCut(*m, canvas, 0, 0, Rect(-20, -20, 40, 40)));
    EXPECT_EQ(m->CutCount, 1);
    // The new block keeps what its slot held (reset values here).
    const SoilBlock& s = m->SoilLayer[0];
    EXPECT_EQ(s.nPt, 4);
    EXPECT_EQ(s.Stage, 1);
    EXPECT_EQ(s.PX[4], 10);
    EXPECT_EQ(s.PY[4], 0);
    EXPECT_EQ(ui.Count(), 0u);
}

TEST(NearestBlockCentre, DistanceAndTies) {
    BlockTable t{};
    i16 n = 0;
    PutBlock(t, n, 15, 5);       // exactly 10 m from (5, 5)
    PutBlock(t, n, 5, 15.0001);  // just beyond 10 m
    double d = -1;
    EXPECT_EQ(NearestBlockCentre(5, 5, t, n, d), 0);
    EXPECT_DOUBLE_EQ(d, 10);
    PutBlock(t, n, 8, 9);  // 5 m
    PutBlock(t, n, 2, 1);  // 5 m, later entry
    EXPECT_EQ(NearestBlockCentre(5, 5, t, n, d), 3);
    EXPECT_DOUBLE_EQ(d, 5);
    EXPECT_EQ(NearestBlockCentre(100, 100, t, n, d), -1);
}

TEST_F(Blocks, PickSoilLayerWinsTieAndToolSwitches) {
    PutBlock(m->Embankment, m->EmbankmentCount, 8, 9);  // 5 m from (5, 5)
    PutBlock(m->SoilLayer, m->SoilLayerCount, 2, 1);    // 5 m
    m->SoilLayer[0].PX[0] = 1;
    m->SoilLayer[0].PY[0] = 2;
    ed.cmd_mode = 7;
    Pick(5, 5, kGroupFill);
    EXPECT_EQ(ed.cmd_mode, 15);
    EXPECT_EQ(ed.PickPair[0], kKindSoilLayer);
    EXPECT_EQ(ed.PickPair[1], 0);
    EXPECT_EQ(ed.SelIndex, -1);
    // The mark: four yellow edges, the first from vertex 0 in canvas twips.
    ASSERT_EQ(canvas.segments.size(), 4u);
    EXPECT_EQ(std::tuple(canvas.segments[0].colour, canvas.segments[0].x1, canvas.segments[0].y1), std::tuple(14, 100, 9800));
    Pick(7, 8, kGroupFill);  // nearer the embankment
    EXPECT_EQ(ed.cmd_mode, 14);
    EXPECT_EQ(ed.PickPair[0], kKindEmbankment);
    // Cuts only in group 2; nothing near: tool and pick unchanged.
    Pick(5, 5, kGroupCut);
    EXPECT_EQ(ed.cmd_mode, 14);
    PutBlock(m->CutBlock, m->CutCount, 6, 6);
    Pick(5, 5, kGroupCut);
    EXPECT_EQ(ed.cmd_mode, 16);
    EXPECT_EQ(ed.PickPair[0], kKindCut);
    // The right button only repaints.
    const int refreshes = canvas.refreshes;
    Pick(8, 9, kGroupFill, kRightButton);
    EXPECT_EQ(ed.cmd_mode, 16);
    EXPECT_EQ(canvas.refreshes, refreshes + 1);
}

TEST_F(Blocks, DeleteSoilLayerTakesItsRowsAlong) {
    Model& mm = *m;
    for (int i = 0; i < 5; ++i) {
        PutBlock(mm.SoilLayer, mm.SoilLayerCount, 20.0 * i, 0);
        mm.SoilLayer[i].UnitWeight = 10 + i;
        mm.SoilParam[i].NValue = static_cast<i16>(i);
        mm.ELogPCurve[i].n = static_cast<i16>(i);
        mm.MvCurve[i].Y[0] = i;
        mm.CvCurve[i].X[1] = i;
        mm.DrainMethod[i].Detail[0] = i;
    }
    PutBlock(mm.Embankment, mm.EmbankmentCount, 200, 0);
    ui.Script(MsgAnswer::Ok);
    Delete(21, 1, kGroupFill);
    ASSERT_EQ(ui.Count(), 1u);
    const Message& q = ui.Last();
    EXPECT_EQ(std::tuple(q.text, q.caption, q.buttons, q.defaultButton, q.icon),
              std::tuple("指定したブロックを削除します", "削除確認", MsgButtons::OkCancel, 1, MsgIcon::None));
    EXPECT_EQ(mm.SoilLayerCount, 4);
    EXPECT_EQ(ed.SelIndex, -1);
    const int kept[] = {0, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
        std::array<double, 6> want;
        want.fill(kept[i]);
        EXPECT_EQ((std::array{mm.SoilLayer[i].UnitWeight - 10, double(mm.SoilParam[i].NValue), double(mm.ELogPCurve[i].n),
                              mm.MvCurve[i].Y[0], mm.CvCurve[i].X[1], mm.DrainMethod[i].Detail[0]}),
                  want)
            << i;
    }
    // Deleting the embankment leaves the soil rows alone.
    ui.Script(MsgAnswer::Ok);
    Delete(200, 0, kGroupFill);
    EXPECT_EQ(mm.EmbankmentCount, 0);
    EXPECT_EQ(mm.SoilLayerCount, 4);
    EXPECT_EQ(mm.SoilParam[1].NValue, 2);
}

TEST_F(Blocks, DeleteCancelRightButtonAndMisses) {
    PutBlock(m->CutBlock, m->CutCount, 5, 5, "c0");
    PutBlock(m->CutBlock, m->CutCount, 50, 5, "c1");
    Delete(49, 5, kGroupCut);  // default answer: Cancel
    EXPECT_EQ(ui.Count(), 1u);
    EXPECT_EQ(m->CutCount, 2);
    EXPECT_EQ(ed.SelIndex, 1);  // keeps the block it asked about
    EXPECT_EQ(canvas.refreshes, 1);
    Delete(5, 5, kGroupCut, kRightButton);
    Delete(5, 5, kGroupFill);  // no fill blocks
    Delete(30, 30, kGroupCut);  // none near
    EXPECT_EQ(ui.Count(), 1u);
    EXPECT_EQ(m->CutCount, 2);
    ui.Script(MsgAnswer::Ok);
    Delete(5, 5, kGroupCut);
    EXPECT_EQ(m->CutCount, 1);
    EXPECT_EQ(m->CutBlock[0].Name, "c1");
}

TEST_F(Blocks, ShapesAndRemovalCheckTheIndex) {
    ASSERT_TRUE(AddSoilLayer(*m, canvas, 5, 5, Rect(0, 0, 10, 10)));
    SoilBlock& b = m->SoilLayer[0];
    b.Name = "粘土";
    b.UnitWeight = 16;
    b.Stage = 2;
    Outline tri;
    tri.n = 3;
    const double xs[] = {0, 5, 10, 0}, ys[] = {0, 8, 0, 0};
    for (int i = 0; i < 4; ++i) {
        tri.X[i] = xs[i];
        tri.Y[i] = ys[i];
    }
    EXPECT_TRUE(SetSoilLayerShape(*m, canvas, 5, 2, tri, {kKindSoilLayer, 0, 0}));
    EXPECT_EQ(std::tuple(b.nPt, b.PY[1], b.PX[3], b.CY, b.Name, b.UnitWeight, b.Stage), std::tuple(3, 8.0, 0.0, 2.0, "粘土", 16.0, 2));
    EXPECT_EQ(m->SoilLayerCount, 1);
    // No block 1, no embankment 0, no cut -1: nothing changes.
    EXPECT_FALSE(SetSoilLayerShape(*m, canvas, 1, 1, Rect(0, 0, 1, 1), {kKindSoilLayer, 1, 0}));
    EXPECT_FALSE(SetEmbankmentShape(*m, canvas, 1, 1, Rect(0, 0, 1, 1), {kKindEmbankment, 0, 0}));
    EXPECT_FALSE(SetCutShape(*m, canvas, 1, 1, Rect(0, 0, 1, 1), {kKindCut, -1, 0}));
    EXPECT_EQ(b.nPt, 3);
    EXPECT_EQ(m->Embankment[0].nPt, 0);
    EXPECT_FALSE(RemoveBlockAt(*m, canvas, kKindSoilLayer, 1));
    EXPECT_FALSE(RemoveBlockAt(*m, canvas, kKindSoilLayer, -1));
    EXPECT_FALSE(RemoveBlockAt(*m, canvas, 4, 0));
    EXPECT_EQ(m->SoilLayerCount, 1);
    EXPECT_TRUE(RemoveBlockAt(*m, canvas, kKindSoilLayer, 0));
    EXPECT_EQ(m->SoilLayerCount, 0);
}

}  // namespace
}  // namespace kova
