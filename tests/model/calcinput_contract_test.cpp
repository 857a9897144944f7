// The calculation input as the front end writes it and the engine reads it:
// every value of a rich model must arrive, after the engine's unit
// conversions, as the model held it.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "engine/reader.hpp"
#include "model/calcinput.hpp"
#include "rich_model.hpp"
#include "testing/fakes.hpp"

namespace kova {
namespace {

TEST(CalcInputContract, EngineReadsEveryValueOfARichModel) {
    test::TempDir dir;
    RecordingMessages ui;
    auto m = std::make_unique<Model>();
    test::BuildRichModel(*m);
    // More than the golden model: a long Japanese title, a second
    // embankment in the last stage, a second load of each kind, walls.
    std::string title, cut;
    for (int i = 0; i < 70; ++i) title += "盛";
    for (int i = 0; i < 62; ++i) cut += "盛";  // 124 of the 125 bytes
    m->Cond.ProjectTitle = title;
    test::SetBlock(m->Embankment[1], "盛土２", 45, -2, 20.5, 5, {{30, 0}, {50, 0}, {50, -10}});
    m->EmbankmentCount = 2;
    m->StageCount = 5;
    m->StageStartDay[4] = 400;
    m->StageDays[4] = 0;
    m->PointLoad[1] = LoadRec{-3.25, 1.5, 0, 0, 7.125, 5};
    m->LineLoad[1] = LoadRec{8, -0.5, 0, 0, 1e-5, 1};
    m->StripLoad[1] = LoadRec{-10, 0.25, -2, 0.75, 33.3, 2};
    m->PointLoadCount = m->LineLoadCount = m->StripLoadCount = 2;
    m->SheetPile[1] = SheetPileRec{-5, 1, -30.5};
    m->SheetPileCount = 2;
    m->DrainMethod[1] = DrainMethodRec{2, {0.9, 0.068, 1.5, 20, 3, 0.3, 0.625}};
    m->SoilParam[0].C1 = 0.123456789012345;
    ASSERT_TRUE(WriteCalcInput(*m, dir.path(), ui));

    auto in = std::make_unique<engine::CalcInput>();
    RecordingMessages engineUi;
    ASSERT_NO_THROW(engine::read_calc_input(dir.path(), *in, engineUi));
    EXPECT_EQ(engineUi.Count(), 0u);

    const StudyCond& c = m->Cond;
    EXPECT_EQ(in->ProjectTitle, cut);
    EXPECT_EQ(std::tuple(in->LeavePeriod, in->ResidualSettlement, in->TimeCondKind, in->UseSandImmediate, in->UseCutPreload,
                         in->MvPMethod, in->CvPMethod, in->AutoScaleXY),
              std::tuple(int{c.LeavePeriod}, c.ResidualSettlement, int{c.TimeCondKind}, int{c.UseSandImmediate},
                         int{c.UseCutPreload}, int{c.MvPMethod}, int{c.CvPMethod}, int{c.AutoScaleXY}));
    ASSERT_EQ(in->position_count, m->CalcPosCount);
    for (int i = 0; i < m->CalcPosCount; ++i) {
        EXPECT_EQ(in->positions[i].name, c.CalcPosName[i]);
        EXPECT_EQ(in->positions[i].x, c.CalcPosX[i]);
    }
    ASSERT_EQ(in->node_count, m->BndPtCount);
    for (int i = 0; i < m->BndPtCount; ++i) EXPECT_EQ(std::pair(in->nodes[i + 1].x, in->nodes[i + 1].y), std::pair(m->BndPt[i].X, m->BndPt[i].Y));

    // A block as read: its vertices must name nodes at the vertex
    // coordinates, its label and unit weight as held.
    auto expectBlock = [&](const SoilBlock& b, const auto& r) {
        ASSERT_EQ(r.vertex_count, b.nPt);
        for (int k = 0; k < b.nPt; ++k)
            EXPECT_EQ(std::pair(in->nodes[r.vertices[k]].x, in->nodes[r.vertices[k]].y), std::pair(b.PX[k], b.PY[k])) << k;
        EXPECT_EQ(std::tuple(r.label_x, r.label_y, r.unit_weight), std::tuple(b.CX, b.CY, b.UnitWeight));
    };
    ASSERT_EQ(in->soil_count, m->SoilLayerCount);
    for (int i = 0; i < m->SoilLayerCount; ++i) {
        SCOPED_TRACE(i);
        const engine::SoilLayerRec& s = in->soil[i];
        const SoilParamRec& p = m->SoilParam[i];
        const DrainMethodRec& d = m->DrainMethod[i];
        expectBlock(m->SoilLayer[i], s);
        EXPECT_EQ(std::tuple(s.soil_kind, s.n_value, s.cc, s.method, s.drainage, s.drain_kind, s.curve_elogp),
                  std::tuple(p.SoilType, p.NValue, p.C1, p.SettleMethod, p.Drainage, d.Method, static_cast<i16>(i + 1)));
        EXPECT_EQ((std::array{s.drain_spacing, s.drain_diameter, s.alpha, s.perm_ratio, s.share_ratio, s.replace_ratio, s.beta}),
                  d.Detail);
        // Pressures in kN/m2 (model: a tenth), mv in m2/kN (model: ten
        // times), cv in m2/day (model: cm2/day).
        for (auto [model, read, factor] : {std::tuple{&m->ELogPCurve[i], &in->elogp[i + 1], 1.0},
                                           std::tuple{&m->MvCurve[i], &in->mv[i + 1], 0.1},
                                           std::tuple{&m->CvCurve[i], &in->cv[i + 1], 1.0 / 10000}}) {
            ASSERT_EQ(read->count, model->n);
            for (int j = 0; j < model->n; ++j) {
                EXPECT_DOUBLE_EQ(read->pressure[j], model->X[j] * 10);
                EXPECT_DOUBLE_EQ(read->value[j], model->Y[j] * factor);
            }
        }
    }
    EXPECT_DOUBLE_EQ(in->mv[1].value[0], 0.005);  // 0.05 m2/kN held ten times
    EXPECT_DOUBLE_EQ(in->cv[1].value[0], 0.015);  // 150 cm2/day

    ASSERT_EQ(in->block_count, m->EmbankmentCount);
    for (int i = 0; i < m->EmbankmentCount; ++i) {
        const SoilBlock& b = m->Embankment[i];
        expectBlock(b, in->blocks[i]);
        EXPECT_EQ(std::tuple(in->blocks[i].stage, in->blocks[i].start_day, in->blocks[i].days),
                  std::tuple(b.Stage, int{m->StageStartDay[b.Stage - 1]}, int{m->StageDays[b.Stage - 1]}));
    }
    ASSERT_EQ(in->cut_count, m->CutCount);
    for (int i = 0; i < m->CutCount; ++i) expectBlock(m->CutBlock[i], in->cuts[i]);

    for (int d = 0; d < kSandCurves; ++d) {  // sand curves unconverted
        ASSERT_EQ(in->sand[d + 1].count, m->BKHoughCurve[d].n);
        for (int j = 0; j < m->BKHoughCurve[d].n; ++j)
            EXPECT_EQ(std::pair(in->sand[d + 1].pressure[j], in->sand[d + 1].value[j]),
                      std::pair(m->BKHoughCurve[d].X[j], m->BKHoughCurve[d].Y[j]));
    }

    auto expectLoads = [&](const auto& model, i16 count, int readCount, const auto& read, bool strip) {
        ASSERT_EQ(readCount, count);
        for (int i = 0; i < count; ++i) {
            const LoadRec& l = model[i];
            const engine::LoadRec& r = read[i];
            EXPECT_EQ(std::tuple(r.x1, r.y1, r.load, r.stage, r.start_day, r.days),
                      std::tuple(l.X1, l.Y1, l.Load, l.Stage, int{m->StageStartDay[l.Stage - 1]}, int{m->StageDays[l.Stage - 1]}));
            if (strip) {
                EXPECT_EQ(std::pair(r.x2, r.y2), std::pair(l.X2, l.Y2));
            }
        }
    };
    expectLoads(m->PointLoad, m->PointLoadCount, in->point_load_count, in->point_loads, false);
    expectLoads(m->LineLoad, m->LineLoadCount, in->line_load_count, in->line_loads, false);
    expectLoads(m->StripLoad, m->StripLoadCount, in->strip_load_count, in->strip_loads, true);

    ASSERT_EQ(in->wall_count, m->SheetPileCount);
    for (int i = 0; i < m->SheetPileCount; ++i)
        EXPECT_EQ(std::tuple(in->walls[i].x, in->walls[i].top, in->walls[i].bottom),
                  std::tuple(m->SheetPile[i].X, m->SheetPile[i].Top, m->SheetPile[i].Bottom));
}

}  // namespace
}  // namespace kova
