#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "model/blocks.hpp"
#include "tests/support/section_tables.hpp"

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

using test::PutBlock;

struct Blocks : ::testing::Test {
    std::unique_ptr<Model> m = std::make_unique<Model>();
};

TEST_F(Blocks, TwentyFirstIsRefused) {
    for (int i = 0; i < kMaxBlocks; ++i)
        ASSERT_TRUE(AddBlock(*m, kKindEmbankment, i * 10 + 5, 5, Rect(i * 10, 0, i * 10 + 10, 10)));
    EXPECT_FALSE(AddBlock(*m, kKindEmbankment, 305, 5, Rect(300, 0, 310, 10)));
    EXPECT_EQ(m->EmbankmentCount, 20);
    // An over-full count from a damaged file is refused just the same.
    m->CutCount = 21;
    EXPECT_FALSE(AddBlock(*m, kKindCut, 5, 5, Rect(0, 0, 10, 10)));
    EXPECT_EQ(m->CutCount, 21);
}

TEST_F(Blocks, LabelPointCrossChecks) {
    ASSERT_TRUE(AddBlock(*m, kKindEmbankment, 5, 5, Rect(0, 0, 10, 10)));
    // A soil layer around the embankment's label point is refused.
    EXPECT_FALSE(AddBlock(*m, kKindSoilLayer, 15, 5, Rect(-10, -10, 20, 20)));
    EXPECT_EQ(m->SoilLayerCount, 0);
    // Beside it is accepted; then an embankment around the layer's label is refused.
    ASSERT_TRUE(AddBlock(*m, kKindSoilLayer, 15, 5, Rect(10, 0, 20, 10)));
    EXPECT_FALSE(AddBlock(*m, kKindEmbankment, 25, 5, Rect(12, 0, 30, 10)));
    // Cuts are tested only against cuts.
    EXPECT_TRUE(AddBlock(*m, kKindCut, 5, 5, Rect(-10, -10, 30, 20)));
    EXPECT_FALSE(AddBlock(*m, kKindCut, 0, 0, Rect(-20, -20, 40, 40)));
    EXPECT_EQ(m->CutCount, 1);
    // The new block keeps what its slot held (reset values here).
    const SoilBlock& s = m->SoilLayer[0];
    EXPECT_EQ(s.nPt, 4);
    EXPECT_EQ(s.Stage, 1);
    EXPECT_EQ(s.PX[4], 10);
    EXPECT_EQ(s.PY[4], 0);
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

TEST(NearestBlock, SoilLayerWinsTiesCutsApart) {
    auto m = std::make_unique<Model>();
    PutBlock(m->Embankment, m->EmbankmentCount, 8, 9);  // 5 m from (5, 5)
    PutBlock(m->SoilLayer, m->SoilLayerCount, 2, 1);    // 5 m
    EXPECT_EQ(std::tuple(NearestBlock(*m, 5, 5, kGroupFill).kind, NearestBlock(*m, 5, 5, kGroupFill).index),
              std::tuple(kKindSoilLayer, 0));
    EXPECT_EQ(NearestBlock(*m, 7, 8, kGroupFill).kind, kKindEmbankment);
    EXPECT_EQ(NearestBlock(*m, 5, 5, kGroupCut).index, -1);
    PutBlock(m->CutBlock, m->CutCount, 6, 6);
    EXPECT_EQ(&BlockAt(*m, NearestBlock(*m, 5, 5, kGroupCut)), &m->CutBlock[0]);
}

TEST_F(Blocks, ShapesAndRemovalCheckTheIndex) {
    ASSERT_TRUE(AddBlock(*m, kKindSoilLayer, 5, 5, Rect(0, 0, 10, 10)));
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
    EXPECT_TRUE(SetBlockShape(*m, kKindSoilLayer, 5, 2, tri, 0));
    EXPECT_EQ(std::tuple(b.nPt, b.PY[1], b.PX[3], b.CY, b.Name, b.UnitWeight, b.Stage),
              std::tuple(3, 8.0, 0.0, 2.0, "粘土", 16.0, 2));
    EXPECT_EQ(m->SoilLayerCount, 1);
    // No block 1, no embankment 0, no cut -1: nothing changes.
    EXPECT_FALSE(SetBlockShape(*m, kKindSoilLayer, 1, 1, Rect(0, 0, 1, 1), 1));
    EXPECT_FALSE(SetBlockShape(*m, kKindEmbankment, 1, 1, Rect(0, 0, 1, 1), 0));
    EXPECT_FALSE(SetBlockShape(*m, kKindCut, 1, 1, Rect(0, 0, 1, 1), -1));
    EXPECT_EQ(b.nPt, 3);
    EXPECT_EQ(m->Embankment[0].nPt, 0);
    EXPECT_FALSE(RemoveBlockAt(*m, kKindSoilLayer, 1));
    EXPECT_FALSE(RemoveBlockAt(*m, kKindSoilLayer, -1));
    EXPECT_FALSE(RemoveBlockAt(*m, 4, 0));
    EXPECT_EQ(m->SoilLayerCount, 1);
    EXPECT_TRUE(RemoveBlockAt(*m, kKindSoilLayer, 0));
    EXPECT_EQ(m->SoilLayerCount, 0);
}

}  // namespace
}  // namespace kova
