#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/blocks.hpp"
#include "model/recording_canvas.hpp"

namespace kova {
namespace {

// An axis-aligned rectangle as a clockwise traced outline.
Outline Rect(double x0, double y0, double x1, double y1) {
    Outline o;
    o.n = 4;
    const double xs[] = {x0, x0, x1, x1, x0};
    const double ys[] = {y0, y1, y1, y0, y0};
    for (int i = 0; i <= 4; ++i) {
        o.X[i] = xs[i];
        o.Y[i] = ys[i];
    }
    return o;
}

void PutBlock(BlockTable& t, i16& count, double cx, double cy, const char* name) {
    SoilBlock& b = t[count++];
    b.CX = cx;
    b.CY = cy;
    b.Name = name;
    b.nPt = 4;
}

struct Fixture {
    std::unique_ptr<Model> m = std::make_unique<Model>();
    EditorState ed;
    RecordingCanvas canvas;
    RecordingMessages ui;
    Fixture() {
        // One model metre is 100 twips; the canvas top is at y = 100.
        ed.ViewScale = 100;
        ed.ViewLeftX = 0;
        ed.ViewTopY = 100;
    }
    static float Tx(double x) { return static_cast<float>(x * 100); }
    static float Ty(double y) { return static_cast<float>((100 - y) * 100); }
};

TEST(AddBlock, TwentyFirstIsRefused) {
    Fixture f;
    for (int i = 0; i < kMaxBlocks; ++i)
        ASSERT_TRUE(AddEmbankment(*f.m, f.canvas, i * 10 + 5, 5, Rect(i * 10, 0, i * 10 + 10, 10)));
    EXPECT_EQ(f.m->EmbankmentCount, 20);
    const int refreshes = f.canvas.refreshes;
    EXPECT_FALSE(AddEmbankment(*f.m, f.canvas, 305, 5, Rect(300, 0, 310, 10)));
    EXPECT_EQ(f.m->EmbankmentCount, 20);
    EXPECT_EQ(f.canvas.refreshes, refreshes);
    // An over-full count from a damaged file is refused just the same.
    f.m->CutCount = 21;
    EXPECT_FALSE(AddCut(*f.m, f.canvas, 5, 5, Rect(0, 0, 10, 10)));
    EXPECT_EQ(f.m->CutCount, 21);
    EXPECT_EQ(f.ui.Count(), 0u);
}

TEST(AddBlock, LabelPointCrossChecks) {
    Fixture f;
    ASSERT_TRUE(AddEmbankment(*f.m, f.canvas, 5, 5, Rect(0, 0, 10, 10)));
    // A soil layer around the embankment's label point is refused.
    EXPECT_FALSE(AddSoilLayer(*f.m, f.canvas, 15, 5, Rect(-10, -10, 20, 20)));
    EXPECT_EQ(f.m->SoilLayerCount, 0);
    // Beside it is accepted; then an embankment around the layer's label is refused.
    ASSERT_TRUE(AddSoilLayer(*f.m, f.canvas, 15, 5, Rect(10, 0, 20, 10)));
    EXPECT_FALSE(AddEmbankment(*f.m, f.canvas, 25, 5, Rect(12, 0, 30, 10)));
    // Cuts are tested only against cuts.
    EXPECT_TRUE(AddCut(*f.m, f.canvas, 5, 5, Rect(-10, -10, 30, 20)));
    EXPECT_FALSE(AddCut(*f.m, f.canvas, 0, 0, Rect(-20, -20, 40, 40)));
    EXPECT_EQ(f.m->CutCount, 1);
    // The new block keeps what its slot held (reset values here).
    const SoilBlock& s = f.m->SoilLayer[0];
    EXPECT_EQ(s.nPt, 4);
    EXPECT_EQ(s.Name, "");
    EXPECT_EQ(s.UnitWeight, 0);
    EXPECT_EQ(s.Stage, 1);
    EXPECT_EQ(s.PX[4], 10);
    EXPECT_EQ(s.PY[4], 0);
}

TEST(NearestBlockCentre, DistanceAndTies) {
    BlockTable t{};
    i16 n = 0;
    PutBlock(t, n, 15, 5, "a");      // exactly 10 m from (5, 5)
    PutBlock(t, n, 5, 15.0001, "b"); // just beyond 10 m
    double d = -1;
    EXPECT_EQ(NearestBlockCentre(5, 5, t, n, d), 0);
    EXPECT_DOUBLE_EQ(d, 10);
    PutBlock(t, n, 8, 9, "c");       // 5 m
    PutBlock(t, n, 2, 1, "d");       // 5 m, later entry
    EXPECT_EQ(NearestBlockCentre(5, 5, t, n, d), 3);
    EXPECT_DOUBLE_EQ(d, 5);
    EXPECT_EQ(NearestBlockCentre(100, 100, t, n, d), -1);
    EXPECT_DOUBLE_EQ(d, 10);
}

TEST(PickBlock, SoilLayerWinsTieAndToolSwitches) {
    Fixture f;
    PutBlock(f.m->Embankment, f.m->EmbankmentCount, 8, 9, "e");   // 5 m from (5, 5)
    PutBlock(f.m->SoilLayer, f.m->SoilLayerCount, 2, 1, "s0");    // 5 m
    f.m->SoilLayer[0].PX[0] = 1;
    f.m->SoilLayer[0].PY[0] = 2;
    f.ed.cmd_mode = 7;
    PickBlock(*f.m, f.ed, f.canvas, 1, f.Tx(5), f.Ty(5), kGroupFill);
    EXPECT_EQ(f.ed.cmd_mode, 15);
    EXPECT_EQ(f.ed.PickPair[0], kKindSoilLayer);
    EXPECT_EQ(f.ed.PickPair[1], 0);
    EXPECT_EQ(f.ed.SelIndex, -1);
    // The mark: four yellow edges, the first from vertex 0 in canvas twips.
    ASSERT_EQ(f.canvas.segments.size(), 4u);
    EXPECT_EQ(f.canvas.segments[0].colour, 14);
    EXPECT_EQ(f.canvas.segments[0].x1, 100);
    EXPECT_EQ(f.canvas.segments[0].y1, 9800);
    // Nearer embankment: picked, tool 14.
    PickBlock(*f.m, f.ed, f.canvas, 1, f.Tx(7), f.Ty(8), kGroupFill);
    EXPECT_EQ(f.ed.cmd_mode, 14);
    EXPECT_EQ(f.ed.PickPair[0], kKindEmbankment);
    // Cuts only in group 2; nothing near: tool and pick unchanged.
    PickBlock(*f.m, f.ed, f.canvas, 1, f.Tx(5), f.Ty(5), kGroupCut);
    EXPECT_EQ(f.ed.cmd_mode, 14);
    PutBlock(f.m->CutBlock, f.m->CutCount, 6, 6, "c");
    PickBlock(*f.m, f.ed, f.canvas, 1, f.Tx(5), f.Ty(5), kGroupCut);
    EXPECT_EQ(f.ed.cmd_mode, 16);
    EXPECT_EQ(f.ed.PickPair[0], kKindCut);
    // The right button only repaints.
    const int refreshes = f.canvas.refreshes;
    PickBlock(*f.m, f.ed, f.canvas, kRightButton, f.Tx(8), f.Ty(9), kGroupFill);
    EXPECT_EQ(f.ed.cmd_mode, 16);
    EXPECT_EQ(f.canvas.refreshes, refreshes + 1);
}

TEST(DeleteBlock, SoilLayerTakesItsRowsAlong) {
    Fixture f;
    Model& m = *f.m;
    for (int i = 0; i < 5; ++i) {
        PutBlock(m.SoilLayer, m.SoilLayerCount, 20.0 * i, 0, "");
        m.SoilLayer[i].Name = "layer" + std::to_string(i);
        m.SoilLayer[i].UnitWeight = 10 + i;
        m.SoilParam[i].NValue = static_cast<i16>(i);
        m.ELogPCurve[i].n = static_cast<i16>(i);
        m.MvCurve[i].Y[0] = i;
        m.CvCurve[i].X[1] = i;
        m.DrainMethod[i].Detail[0] = i;
    }
    PutBlock(m.Embankment, m.EmbankmentCount, 200, 0, "e0");
    f.ui.Script(MsgAnswer::Ok);
    DeleteBlock(m, f.ed, f.canvas, f.ui, 1, f.Tx(21), f.Ty(1), kGroupFill);
    ASSERT_EQ(f.ui.Count(), 1u);
    EXPECT_EQ(f.ui.Last().text, "指定したブロックを削除します");
    EXPECT_EQ(f.ui.Last().caption, "削除確認");
    EXPECT_EQ(f.ui.Last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(f.ui.Last().defaultButton, 1);
    EXPECT_EQ(f.ui.Last().icon, MsgIcon::None);
    EXPECT_EQ(m.SoilLayerCount, 4);
    EXPECT_EQ(f.ed.SelIndex, -1);
    const int expect[] = {0, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        int k = expect[i];
        EXPECT_EQ(m.SoilLayer[i].Name, "layer" + std::to_string(k));
        EXPECT_EQ(m.SoilLayer[i].UnitWeight, 10 + k);
        EXPECT_EQ(m.SoilParam[i].NValue, k);
        EXPECT_EQ(m.ELogPCurve[i].n, k);
        EXPECT_EQ(m.MvCurve[i].Y[0], k);
        EXPECT_EQ(m.CvCurve[i].X[1], k);
        EXPECT_EQ(m.DrainMethod[i].Detail[0], k);
    }
    // Deleting the embankment leaves the soil rows alone.
    f.ui.Script(MsgAnswer::Ok);
    DeleteBlock(m, f.ed, f.canvas, f.ui, 1, f.Tx(200), f.Ty(0), kGroupFill);
    EXPECT_EQ(m.EmbankmentCount, 0);
    EXPECT_EQ(m.SoilLayerCount, 4);
    EXPECT_EQ(m.SoilParam[1].NValue, 2);
}

TEST(DeleteBlock, CancelRightButtonAndMisses) {
    Fixture f;
    Model& m = *f.m;
    PutBlock(m.CutBlock, m.CutCount, 5, 5, "c0");
    PutBlock(m.CutBlock, m.CutCount, 50, 5, "c1");
    const Model before = m;
    DeleteBlock(m, f.ed, f.canvas, f.ui, 1, f.Tx(49), f.Ty(5), kGroupCut);  // default: Cancel
    EXPECT_EQ(f.ui.Count(), 1u);
    EXPECT_EQ(m.CutCount, 2);
    EXPECT_EQ(m.CutBlock[1].Name, "c1");
    EXPECT_EQ(f.ed.SelIndex, 1);  // keeps the block it asked about
    EXPECT_EQ(f.canvas.refreshes, 1);
    DeleteBlock(m, f.ed, f.canvas, f.ui, kRightButton, f.Tx(5), f.Ty(5), kGroupCut);
    DeleteBlock(m, f.ed, f.canvas, f.ui, 1, f.Tx(5), f.Ty(5), kGroupFill);   // no fill blocks
    DeleteBlock(m, f.ed, f.canvas, f.ui, 1, f.Tx(30), f.Ty(30), kGroupCut);  // none near
    EXPECT_EQ(f.ui.Count(), 1u);
    EXPECT_EQ(m.CutCount, before.CutCount);
    f.ui.Script(MsgAnswer::Ok);
    DeleteBlock(m, f.ed, f.canvas, f.ui, 1, f.Tx(5), f.Ty(5), kGroupCut);
    EXPECT_EQ(m.CutCount, 1);
    EXPECT_EQ(m.CutBlock[0].Name, "c1");
}

TEST(RemoveBlockAt, RejectsIndexOutsideTheTable) {
    Fixture f;
    PutBlock(f.m->Embankment, f.m->EmbankmentCount, 5, 5, "e");
    EXPECT_FALSE(RemoveBlockAt(*f.m, f.canvas, kKindEmbankment, 1));
    EXPECT_FALSE(RemoveBlockAt(*f.m, f.canvas, kKindEmbankment, -1));
    EXPECT_FALSE(RemoveBlockAt(*f.m, f.canvas, 4, 0));
    EXPECT_EQ(f.m->EmbankmentCount, 1);
    EXPECT_TRUE(RemoveBlockAt(*f.m, f.canvas, kKindEmbankment, 0));
    EXPECT_EQ(f.m->EmbankmentCount, 0);
}

TEST(SetShape, ReplacesOutlineKeepsAttributes) {
    Fixture f;
    Model& m = *f.m;
    ASSERT_TRUE(AddSoilLayer(m, f.canvas, 5, 5, Rect(0, 0, 10, 10)));
    m.SoilLayer[0].Name = "粘土";
    m.SoilLayer[0].UnitWeight = 16;
    m.SoilLayer[0].Stage = 2;
    Outline tri;
    tri.n = 3;
    const double xs[] = {0, 5, 10, 0}, ys[] = {0, 8, 0, 0};
    for (int i = 0; i < 4; ++i) {
        tri.X[i] = xs[i];
        tri.Y[i] = ys[i];
    }
    EXPECT_TRUE(SetSoilLayerShape(m, f.canvas, 5, 2, tri, {kKindSoilLayer, 0, 0}));
    const SoilBlock& b = m.SoilLayer[0];
    EXPECT_EQ(b.nPt, 3);
    EXPECT_EQ(b.PY[1], 8);
    EXPECT_EQ(b.PX[3], 0);
    EXPECT_EQ(b.CY, 2);
    EXPECT_EQ(b.Name, "粘土");
    EXPECT_EQ(b.UnitWeight, 16);
    EXPECT_EQ(b.Stage, 2);
    EXPECT_EQ(m.SoilLayerCount, 1);
    // No block 1, and no embankment 0: nothing changes.
    EXPECT_FALSE(SetSoilLayerShape(m, f.canvas, 1, 1, Rect(0, 0, 1, 1), {kKindSoilLayer, 1, 0}));
    EXPECT_FALSE(SetEmbankmentShape(m, f.canvas, 1, 1, Rect(0, 0, 1, 1), {kKindEmbankment, 0, 0}));
    EXPECT_FALSE(SetCutShape(m, f.canvas, 1, 1, Rect(0, 0, 1, 1), {kKindCut, -1, 0}));
    EXPECT_EQ(m.SoilLayer[0].nPt, 3);
    EXPECT_EQ(m.Embankment[0].nPt, 0);
}

}  // namespace
}  // namespace kova
