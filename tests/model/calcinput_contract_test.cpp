// The calculation input as the front end writes it and the engine reads it:
// every value of a rich model must arrive, after the engine's unit
// conversions, as the model held it.
#include <gtest/gtest.h>

#include "engine/reader.hpp"
#include "model/calcinput.hpp"
#include "rich_model.hpp"

namespace kova {
namespace {

TEST(CalcInputContract, EngineReadsEveryValueOfARichModel) {
    test::TempDir dir;
    RecordingMessages ui;
    auto m = std::make_unique<Model>();
    test::BuildRichModel(*m);
    // More than the golden model: a long Japanese title, a second
    // embankment in the last stage, a second load of each kind, walls.
    std::string title;
    for (int i = 0; i < 70; ++i) title += "盛";
    m->Cond.ProjectTitle = title;
    test::SetBlock(m->Embankment[1], "盛土２", 40, 1, 20.5, 5, {{30, 0}, {50, 0}, {50, -10}});
    m->EmbankmentCount = 2;
    m->StageCount = 5;
    m->StageStartDay[4] = 400;
    m->StageDays[4] = 0;
    m->PointLoad[1] = LoadRec{-3.25, 1.5, 0, 0, 7.125, 5};
    m->PointLoadCount = 2;
    m->LineLoad[1] = LoadRec{8, -0.5, 0, 0, 1e-5, 1};
    m->LineLoadCount = 2;
    m->StripLoad[1] = LoadRec{-10, 0.25, -2, 0.75, 33.3, 2};
    m->StripLoadCount = 2;
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
    std::string cut;
    for (int i = 0; i < 62; ++i) cut += "盛";  // 124 of the 125 bytes
    EXPECT_EQ(in->ProjectTitle, cut);
    EXPECT_EQ(in->LeavePeriod, c.LeavePeriod);
    EXPECT_EQ(in->ResidualSettlement, c.ResidualSettlement);
    EXPECT_EQ(in->TimeCondKind, c.TimeCondKind);
    EXPECT_EQ(in->UseSandImmediate, c.UseSandImmediate);
    EXPECT_EQ(in->UseCutPreload, c.UseCutPreload);
    EXPECT_EQ(in->MvPMethod, c.MvPMethod);
    EXPECT_EQ(in->CvPMethod, c.CvPMethod);
    EXPECT_EQ(in->AutoScaleXY, c.AutoScaleXY);

    ASSERT_EQ(in->position_count, m->CalcPosCount);
    for (int i = 0; i < m->CalcPosCount; ++i) {
        EXPECT_EQ(in->positions[i].name, c.CalcPosName[i]);
        EXPECT_EQ(in->positions[i].x, c.CalcPosX[i]);
    }

    ASSERT_EQ(in->node_count, m->BndPtCount);
    for (int i = 0; i < m->BndPtCount; ++i) {
        EXPECT_EQ(in->nodes[i + 1].x, m->BndPt[i].X);
        EXPECT_EQ(in->nodes[i + 1].y, m->BndPt[i].Y);
    }
    // A vertex's number must name a node with the vertex's coordinates.
    auto expectVertices = [&](const SoilBlock& b, int count, const auto& vertices) {
        ASSERT_EQ(count, b.nPt);
        for (int k = 0; k < b.nPt; ++k) {
            EXPECT_EQ(in->nodes[vertices[k]].x, b.PX[k]);
            EXPECT_EQ(in->nodes[vertices[k]].y, b.PY[k]);
        }
    };

    ASSERT_EQ(in->soil_count, m->SoilLayerCount);
    for (int i = 0; i < m->SoilLayerCount; ++i) {
        SCOPED_TRACE(i);
        const engine::SoilLayerRec& s = in->soil[i];
        const SoilBlock& b = m->SoilLayer[i];
        const SoilParamRec& p = m->SoilParam[i];
        const DrainMethodRec& d = m->DrainMethod[i];
        expectVertices(b, s.vertex_count, s.vertices);
        EXPECT_EQ(s.label_x, b.CX);
        EXPECT_EQ(s.label_y, b.CY);
        EXPECT_EQ(s.soil_kind, p.SoilType);
        EXPECT_EQ(s.unit_weight, b.UnitWeight);
        EXPECT_EQ(s.n_value, p.NValue);
        EXPECT_EQ(s.cc, p.C1);
        EXPECT_EQ(s.method, p.SettleMethod);
        EXPECT_EQ(s.drainage, p.Drainage);
        EXPECT_EQ(s.drain_kind, d.Method);
        EXPECT_EQ(s.drain_spacing, d.Detail[0]);
        EXPECT_EQ(s.drain_diameter, d.Detail[1]);
        EXPECT_EQ(s.alpha, d.Detail[2]);
        EXPECT_EQ(s.perm_ratio, d.Detail[3]);
        EXPECT_EQ(s.share_ratio, d.Detail[4]);
        EXPECT_EQ(s.replace_ratio, d.Detail[5]);
        EXPECT_EQ(s.beta, d.Detail[6]);
        EXPECT_EQ(s.curve_elogp, i + 1);
        // Pressures in kN/m2 (model: a tenth), mv in m2/kN (model: ten
        // times), cv in m2/day (model: cm2/day).
        struct Kind {
            const CurveTable& model;
            const engine::CurveRec& read;
            double valueFactor;
        };
        for (Kind k : {Kind{m->ELogPCurve[i], in->elogp[i + 1], 1.0}, Kind{m->MvCurve[i], in->mv[i + 1], 0.1},
                       Kind{m->CvCurve[i], in->cv[i + 1], 1.0 / 10000}}) {
            ASSERT_EQ(k.read.count, k.model.n);
            for (int j = 0; j < k.model.n; ++j) {
                EXPECT_DOUBLE_EQ(k.read.pressure[j], k.model.X[j] * 10);
                EXPECT_DOUBLE_EQ(k.read.value[j], k.model.Y[j] * k.valueFactor);
            }
        }
    }
    EXPECT_DOUBLE_EQ(in->mv[1].value[0], 0.005);  // 0.05 m2/kN held ten times
    EXPECT_DOUBLE_EQ(in->cv[1].value[0], 0.015);  // 150 cm2/day

    ASSERT_EQ(in->block_count, m->EmbankmentCount);
    for (int i = 0; i < m->EmbankmentCount; ++i) {
        const engine::LoadBlockRec& r = in->blocks[i];
        const SoilBlock& b = m->Embankment[i];
        expectVertices(b, r.vertex_count, r.vertices);
        EXPECT_EQ(r.label_x, b.CX);
        EXPECT_EQ(r.label_y, b.CY);
        EXPECT_EQ(r.unit_weight, b.UnitWeight);
        EXPECT_EQ(r.stage, b.Stage);
        EXPECT_EQ(r.start_day, m->StageStartDay[b.Stage - 1]);
        EXPECT_EQ(r.days, m->StageDays[b.Stage - 1]);
    }
    ASSERT_EQ(in->cut_count, m->CutCount);
    for (int i = 0; i < m->CutCount; ++i) {
        const engine::CutBlockRec& r = in->cuts[i];
        const SoilBlock& b = m->CutBlock[i];
        expectVertices(b, r.vertex_count, r.vertices);
        EXPECT_EQ(r.label_x, b.CX);
        EXPECT_EQ(r.label_y, b.CY);
        EXPECT_EQ(r.unit_weight, b.UnitWeight);
    }

    for (int d = 0; d < kSandCurves; ++d) {
        const CurveTable& t = m->BKHoughCurve[d];
        const engine::CurveRec& r = in->sand[d + 1];
        ASSERT_EQ(r.count, t.n);
        for (int j = 0; j < t.n; ++j) {
            EXPECT_EQ(r.pressure[j], t.X[j]);  // sand curves unconverted
            EXPECT_EQ(r.value[j], t.Y[j]);
        }
    }

    auto expectLoads = [&](const std::array<LoadRec, kMaxLoads + 1>& model, i16 count, int readCount,
                           const std::array<engine::LoadRec, engine::kMaxLoads>& read, bool strip) {
        ASSERT_EQ(readCount, count);
        for (int i = 0; i < count; ++i) {
            const LoadRec& l = model[i];
            const engine::LoadRec& r = read[i];
            EXPECT_EQ(r.x1, l.X1);
            EXPECT_EQ(r.y1, l.Y1);
            if (strip) {
                EXPECT_EQ(r.x2, l.X2);
                EXPECT_EQ(r.y2, l.Y2);
            }
            EXPECT_EQ(r.load, l.Load);
            EXPECT_EQ(r.stage, l.Stage);
            EXPECT_EQ(r.start_day, m->StageStartDay[l.Stage - 1]);
            EXPECT_EQ(r.days, m->StageDays[l.Stage - 1]);
        }
    };
    expectLoads(m->PointLoad, m->PointLoadCount, in->point_load_count, in->point_loads, false);
    expectLoads(m->LineLoad, m->LineLoadCount, in->line_load_count, in->line_loads, false);
    expectLoads(m->StripLoad, m->StripLoadCount, in->strip_load_count, in->strip_loads, true);

    ASSERT_EQ(in->wall_count, m->SheetPileCount);
    for (int i = 0; i < m->SheetPileCount; ++i) {
        EXPECT_EQ(in->walls[i].x, m->SheetPile[i].X);
        EXPECT_EQ(in->walls[i].top, m->SheetPile[i].Top);
        EXPECT_EQ(in->walls[i].bottom, m->SheetPile[i].Bottom);
    }
}

}  // namespace
}  // namespace kova
