#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

#include "editing/section_clicks.hpp"
#include "tests/editing/tool_fixture.hpp"
#include "model/blocks.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"
#include "tests/support/section_tables.hpp"

namespace kova {
namespace {

using test::PutBlock;

// One model metre is 100 twips; the canvas top is at y = 100.
struct Blocks : ::testing::Test {
    std::unique_ptr<Model> m = std::make_unique<Model>();
    EditorState ed;
    RecordingCanvas canvas;
    RecordingMessages ui;
    test::RecordingPanels panels;
    void SetUp() override {
        ed.ViewScale = 100;
        ed.ViewLeftX = 0;
        ed.ViewTopY = 100;
    }
    // Through the pick tool of the group, which goes on to the re-shape tools.
    void Pick(double x, double y, i16 group, i16 button = 1) {
        ToolContext c{*m, ed, canvas, ui, panels};
        ed.tools.For(group == kGroupCut ? CmdMode::kPickCut : CmdMode::kPickFill)->Press(c, {x, y, button, false});
    }
    // The block handed to the re-shape tool in force.
    const std::array<i16, 2>& Handed() const { return ed.Tool()->picks.PickPair; }
    i16 asked = -1;  // the block a delete asked about
    void Delete(double x, double y, i16 group, i16 button = 1) {
        DeleteBlock(*m, ed, canvas, ui, asked, button, static_cast<float>(x * 100), static_cast<float>((100 - y) * 100),
                    group);
    }
};

TEST_F(Blocks, PickSoilLayerWinsTieAndToolSwitches) {
    PutBlock(m->Embankment, m->EmbankmentCount, 8, 9);  // 5 m from (5, 5)
    PutBlock(m->SoilLayer, m->SoilLayerCount, 2, 1);    // 5 m
    m->SoilLayer[0].PX[0] = 1;
    m->SoilLayer[0].PY[0] = 2;
    ed.cmd_mode = 7;
    Pick(5, 5, kGroupFill);
    EXPECT_EQ(ed.cmd_mode, 15);
    EXPECT_EQ(Handed()[0], kKindSoilLayer);
    EXPECT_EQ(Handed()[1], 0);
    EXPECT_EQ(ed.tools.For(CmdMode::kPickFill)->picks.SelIndex, -1);
    // The mark: four yellow edges, the first from vertex 0 in canvas twips.
    ASSERT_EQ(canvas.segments.size(), 4u);
    EXPECT_EQ(std::tuple(canvas.segments[0].colour, canvas.segments[0].x1, canvas.segments[0].y1),
              std::tuple(14, 100, 9800));
    Pick(7, 8, kGroupFill);  // nearer the embankment
    EXPECT_EQ(ed.cmd_mode, 14);
    EXPECT_EQ(Handed()[0], kKindEmbankment);
    // Cuts only in group 2; nothing near: tool and pick unchanged.
    Pick(5, 5, kGroupCut);
    EXPECT_EQ(ed.cmd_mode, 14);
    PutBlock(m->CutBlock, m->CutCount, 6, 6);
    Pick(5, 5, kGroupCut);
    EXPECT_EQ(ed.cmd_mode, 16);
    EXPECT_EQ(Handed()[0], kKindCut);
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
        mm.DrainMethod[i].Detail[kSpacing] = i;
    }
    PutBlock(mm.Embankment, mm.EmbankmentCount, 200, 0);
    ui.Script(MsgAnswer::Ok);
    Delete(21, 1, kGroupFill);
    ASSERT_EQ(ui.Count(), 1u);
    const Message& q = ui.Last();
    EXPECT_EQ(std::tuple(q.text, q.caption, q.buttons, q.defaultButton, q.icon),
              std::tuple("指定したブロックを削除します", "削除確認", MsgButtons::OkCancel, 1, MsgIcon::None));
    EXPECT_EQ(mm.SoilLayerCount, 4);
    EXPECT_EQ(asked, -1);
    const int kept[] = {0, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
        std::array<double, 6> want;
        want.fill(kept[i]);
        EXPECT_EQ(
            (std::array{mm.SoilLayer[i].UnitWeight - 10, double(mm.SoilParam[i].NValue), double(mm.ELogPCurve[i].n),
                        mm.MvCurve[i].Y[0], mm.CvCurve[i].X[1], mm.DrainMethod[i].Detail[kSpacing]}),
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
    EXPECT_EQ(asked, 1);  // keeps the block it asked about
    EXPECT_EQ(canvas.refreshes, 1);
    Delete(5, 5, kGroupCut, kRightButton);
    Delete(5, 5, kGroupFill);   // no fill blocks
    Delete(30, 30, kGroupCut);  // none near
    EXPECT_EQ(ui.Count(), 1u);
    EXPECT_EQ(m->CutCount, 2);
    ui.Script(MsgAnswer::Ok);
    Delete(5, 5, kGroupCut);
    EXPECT_EQ(m->CutCount, 1);
    EXPECT_EQ(m->CutBlock[0].Name, "c1");
}

}  // namespace
}  // namespace kova
