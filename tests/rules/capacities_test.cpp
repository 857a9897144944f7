// The capacities of rules/capacities.hpp as the section model and the engine
// use them: a section at every limit the editors allow goes out through the
// calculation input and arrives whole.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/reader.hpp"
#include "model/calcinput.hpp"
#include "model/trace.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"

namespace kova {
namespace {

// Where the two sides hold different numbers on purpose, the engine's is the
// larger: it reads every section the editors can make.
static_assert(kMaxBlocks <= engine::kMaxLoadBlocks && kMaxBlocks <= engine::kMaxCutBlocks);
static_assert(kMaxBlocks <= engine::kMaxCurveNumber);  // curves are numbered by layer
static_assert(kMaxCurvePts <= engine::kMaxCurvePoints);
// The model's wall table has one slot more than the editors fill, as every
// table of the model has; the engine reads all of them.
static_assert(kMaxSheetPiles + 1 == engine::kMaxWalls);
static_assert(kCalcInputNameBytes == static_cast<std::size_t>(engine::kMaxTextBytes));

void Outline(const Model& m, SoilBlock& b, int first, int vertices) {
    b.nPt = static_cast<i16>(vertices);
    for (int k = 0; k < vertices; ++k) {
        b.PX[k] = m.BndPt[first + k].X;
        b.PY[k] = m.BndPt[first + k].Y;
    }
    b.PX[vertices] = b.PX[0];
    b.PY[vertices] = b.PY[0];
    b.UnitWeight = 18;
    // The writer refuses a block whose interior point lies outside its
    // outline, so trace it from the first point found inside.
    for (double y = 0.25; y < 7; y += 0.5)
        for (double x = b.PX[0] + 0.25; x < b.PX[vertices - 1]; x += 0.5)
            if (PointInRegion(x, y, b.PX.data(), b.PY.data(), vertices) == 1) {
                b.CX = x;
                b.CY = y;
                return;
            }
}

void Fill(CurveTable& c) {
    c.n = kMaxCurvePts;
    for (int k = 0; k < kMaxCurvePts; ++k) {
        c.X[k] = 1.0 + k;
        c.Y[k] = 2.0 - 0.05 * k;
    }
}

TEST(SharedCapacities, SectionAtEveryLimitArrivesWhole) {
    auto m = std::make_unique<Model>();
    m->Cond.ProjectTitle = std::string(2 * rules::kMaxTextBytes, 'T');
    m->CalcPosCount = kMaxCalcPos;
    for (int i = 0; i < kMaxCalcPos; ++i) m->Cond.CalcPosName[i] = std::string(rules::kMaxTextBytes + 1, static_cast<char>('a' + i % 26));
    m->BndPtCount = kMaxBndPts;
    for (int i = 0; i < kMaxBndPts; ++i) m->BndPt[i] = {static_cast<double>(i), static_cast<double>(i * i * 3 % 7)};
    m->SoilLayerCount = m->EmbankmentCount = m->CutCount = kMaxBlocks;
    for (int i = 0; i < kMaxBlocks; ++i) {
        // The first block of each kind has every vertex it may have.
        const int vertices = i == 0 ? kMaxVertices : 3 + i;
        Outline(*m, m->SoilLayer[i], i, vertices);
        Outline(*m, m->Embankment[i], 2 * i, vertices);
        Outline(*m, m->CutBlock[i], 3 * i, vertices);
        m->Embankment[i].Stage = static_cast<i16>(1 + i % kMaxStages);
        Fill(m->ELogPCurve[i]);
        Fill(m->MvCurve[i]);
        Fill(m->CvCurve[i]);
    }
    m->StageCount = kMaxStages;
    m->PointLoadCount = m->LineLoadCount = m->StripLoadCount = kMaxLoads;
    for (int i = 0; i < kMaxLoads; ++i) {
        const auto stage = static_cast<i16>(i + 1);
        m->PointLoad[i] = {1.0 * i, 0, 0, 0, 10, stage};
        m->LineLoad[i] = {2.0 * i, 0, 0, 0, 5, stage};
        m->StripLoad[i] = {3.0 * i, 0, 3.0 * i + 1, 0, 7, stage};
    }
    m->SheetPileCount = kMaxSheetPiles;
    for (int i = 0; i < kMaxSheetPiles; ++i) m->SheetPile[i] = {-10.0 + 10 * i, 1, -12};

    test::TempDir dir;
    RecordingMessages ui;
    ASSERT_TRUE(WriteCalcInput(*m, dir.path(), ui)) << (ui.Count() ? ui.Last().text : std::string());
    auto in = std::make_unique<engine::CalcInput>();
    RecordingMessages engineUi;
    ASSERT_NO_THROW(engine::read_calc_input(dir.path(), *in, engineUi));
    EXPECT_EQ(engineUi.Count(), 0u);

    EXPECT_EQ(in->ProjectTitle, std::string(rules::kMaxTextBytes, 'T'));
    EXPECT_EQ(in->positions[kMaxCalcPos - 1].name, std::string(rules::kMaxTextBytes, 't'));
    EXPECT_EQ((std::array{in->position_count, in->node_count, in->soil_count, in->block_count, in->cut_count,
                          in->point_load_count, in->line_load_count, in->strip_load_count, in->wall_count}),
              (std::array{kMaxCalcPos, kMaxBndPts, kMaxBlocks, kMaxBlocks, kMaxBlocks, kMaxLoads, kMaxLoads, kMaxLoads,
                          kMaxSheetPiles}));
    EXPECT_EQ((std::array{in->soil[0].vertex_count, in->blocks[0].vertex_count, in->cuts[0].vertex_count}),
              (std::array<i16, 3>{kMaxVertices, kMaxVertices, kMaxVertices}));
    for (int i = 1; i <= kMaxBlocks; ++i)
        EXPECT_EQ((std::array{in->elogp[i].count, in->mv[i].count, in->cv[i].count}),
                  (std::array{kMaxCurvePts, kMaxCurvePts, kMaxCurvePts}))
            << i;
    EXPECT_EQ(in->walls[kMaxSheetPiles - 1].x, 10);
}

}  // namespace
}  // namespace kova
