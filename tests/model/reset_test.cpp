#include <gtest/gtest.h>

#include "model/reset.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

struct ModelFiles : ::testing::Test {
    test::TempDir dir;
    RecordingMessages ui;
    Model m;
    void Reset(const std::string& sand) {
        test::WriteBytes(dir / "BKHough1.CSV", sand);
        ResetModel(m, dir.path(), ui);
    }
};

const char* kReadFail = "条件ﾌｧｲﾙ(BKHough1.CSV)が読み込み出来ません。";

std::string Rows(int n) {
    std::string s = std::to_string(n) + "\r\n";
    for (int a = 0; a < n; ++a) s += std::to_string(10 * (a + 1)) + ".0,1.0" + std::to_string(a % 10) + "0,0.9,0.8,0.7,0.6\r\n";
    return s;
}

TEST_F(ModelFiles, ResetGivesTheDefaultsOfANewProject) {
    m.BndPtCount = 7;
    m.Embankment[3].Stage = 4;
    m.Embankment[3].Name = "x";
    m.PointLoad[2].Stage = 3;
    m.StageCount = 5;
    m.DrainMethod[4].Detail[kAlpha] = 9;
    m.BndLine[10].pt1 = 3;
    m.BndPt[2].Link[0] = 4;
    Reset("0\r\n");
    EXPECT_EQ(ui.Count(), 0u);
    EXPECT_EQ(m.BndPtCount, 0);
    EXPECT_EQ(m.StageCount, 1);
    const StudyCond& c = m.Cond;
    EXPECT_EQ(c.LeavePeriod, 1000);
    EXPECT_EQ(c.ResidualSettlement, 1.0);
    EXPECT_EQ((std::array{c.MvPMethod, c.CvPMethod, c.UseCutPreload, c.UseSandImmediate, c.TimeCondKind, c.AutoScaleXY}),
              (std::array<i16, 6>{1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(m.BndLine[10].pt1, -1);
    EXPECT_EQ(m.BndPt[2].Link[0], -1);
    EXPECT_EQ(m.Embankment[3].Stage, 1);
    EXPECT_TRUE(m.Embankment[3].Name.empty());
    EXPECT_EQ(m.SoilLayer[19].Stage, 1);
    EXPECT_EQ(m.CutBlock[0].Stage, 1);
    EXPECT_EQ(m.PointLoad[2].Stage, 0);
    EXPECT_EQ(m.DrainMethod[4].Detail, (std::array<double, 7>{0, 0, 1, 0, 0, 0, 1}));  // alpha = beta = 1
}

TEST_F(ModelFiles, SandCurveFiles) {
    struct Case {
        std::string bytes;
        int n;          // points read; -1: refused, curves kept
        double x1, y0;  // X[1] and Y[0] of the second curve
    } cases[] = {
        {"2\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n20.0,1.100,1.000,0.900,0.800,0.700\r\n", 2, 20, 1.1},
        {"2, 10, 1.2,1.1\n1.0,0.9,0.8,20.0,1.1,1.0,0.9,0.8,0.7\n", 2, 20, 1.1},  // one line, LF
        {"0\r\n", 0, 0, 0},
        {Rows(21), 21, 20, 0.9},
        {Rows(22), -1, 0, 0},  // would overrun the table
        {"2\r\n10.0,1,2,3,4,5\r\n", -1, 0, 0}, {"1\r\n10.0,1,x,3,4,5\r\n", -1, 0, 0}, {"-1\r\n", -1, 0, 0}, {"abc\r\n", -1, 0, 0},
        {"1\r\n10.0,1,nan,3,4,5\r\n", -1, 0, 0}, {"", -1, 0, 0}, {"1\r\n10.0,1,2,3,4,1e999\r\n", -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Reset("1\r\n10.0,1,2,3,4,5\r\n");
        ui.Clear();
        m.BndPtCount = 3;
        Reset(c.bytes);
        EXPECT_EQ(m.BndPtCount, 0);  // the rest of the reset is done
        if (c.n < 0) {
            ASSERT_EQ(ui.Count(), 1u);
            EXPECT_EQ(ui.Last().text.rfind(kReadFail, 0), 0u);
            EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
            EXPECT_EQ(m.BKHoughCurve[2].n, 1);
            EXPECT_EQ(m.BKHoughCurve[2].Y[0], 3);
            continue;
        }
        EXPECT_EQ(ui.Count(), 0u);
        for (int d = 0; d < 5; ++d) EXPECT_EQ(m.BKHoughCurve[d].n, c.n);
        if (c.n == 0) continue;
        EXPECT_EQ(m.BKHoughCurve[1].X[1], c.x1);
        EXPECT_EQ(m.BKHoughCurve[1].Y[0], c.y0);
        EXPECT_EQ(m.BKHoughCurve[4].X[c.n - 1], 10.0 * c.n);
    }
    // A missing file is told at every reset.
    std::filesystem::remove(dir / "BKHough1.CSV");
    ui.Clear();
    ResetModel(m, dir.path(), ui);
    ResetModel(m, dir.path(), ui);
    EXPECT_EQ(ui.Count(), 2u);
}

TEST_F(ModelFiles, SandFileWriterFormatsAndReadsBack) {
    SandCurves c{};
    for (int d = 0; d < 5; ++d) {
        c[d].n = 2;
        c[d].X = {10, 25.25};
        c[d].Y[0] = 1.2 - 0.1 * d;
        c[d].Y[1] = 1.0 - 0.1 * d;
    }
    ASSERT_TRUE(WriteSandCurveFile(dir.path(), c, ui));
    EXPECT_EQ(test::ReadBytes(dir / "BKHough1.CSV"),
              "2\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n25.3,1.000,0.900,0.800,0.700,0.600\r\n");
    SandCurves back{};
    ASSERT_TRUE(ReadSandCurveFile(dir.path(), back, ui));
    EXPECT_EQ(back[3].n, 2);
    EXPECT_DOUBLE_EQ(back[3].Y[1], 0.7);
    EXPECT_FALSE(WriteSandCurveFile(dir / "no" / "such", c, ui));
    EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(BKHough1.CSV)に書き込み出来ません。");
}

TEST_F(ModelFiles, SandFileRoundsAsTheTableShows) {
    // The table's "0.0" and "0.000" round halves away from zero; the file
    // must hold what it showed, not printf's nearest binary neighbour.
    SandCurves c{};
    for (int d = 0; d < 5; ++d) {
        c[d].n = 3;
        c[d].X = {0.25, 1.05, 2.45};
        c[d].Y[0] = 1.2345;
        c[d].Y[1] = 0.0005;
        c[d].Y[2] = 2.0015;
    }
    ASSERT_TRUE(WriteSandCurveFile(dir.path(), c, ui));
    EXPECT_EQ(test::ReadBytes(dir / "BKHough1.CSV"),
              "3\r\n0.3,1.235,1.235,1.235,1.235,1.235\r\n1.1,0.001,0.001,0.001,0.001,0.001\r\n"
              "2.5,2.002,2.002,2.002,2.002,2.002\r\n");
}

TEST_F(ModelFiles, ShippedSandCurvesAreValid) {
    SandCurves c{};
    ASSERT_TRUE(ReadSandCurveFile(KOVA_BIN_DIR, c, ui));
    ASSERT_GT(c[0].n, 1);
    for (int d = 0; d < 5; ++d)
        for (int a = 1; a < c[d].n; ++a) {
            EXPECT_GT(c[d].X[a], c[d].X[a - 1]);
            EXPECT_LT(c[d].Y[a], c[d].Y[a - 1]) << "void ratio falls with pressure";
            if (d > 0) {
                EXPECT_LT(c[d].Y[a], c[d - 1].Y[a]) << "denser sand, smaller void ratio";
            }
        }
}

TEST(RebuildLinks, LineOrderAndCapacity) {
    Model m;
    m.BndPtCount = 11;
    // Lines 0..9 all meet at point 0 (line 3 with its ends swapped): the
    // tenth cannot be linked there.
    for (int i = 0; i < 10; ++i) m.BndLine[i] = {static_cast<i16>(i == 3 ? 4 : 0), static_cast<i16>(i == 3 ? 0 : i + 1)};
    EXPECT_FALSE(RebuildLinks(m, m.BndLine, 10));
    EXPECT_EQ(m.BndPt[0].nLink, 9);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(m.BndPt[0].Link[k], k);
    EXPECT_EQ(m.BndPt[4].nLink, 1);
    EXPECT_EQ(m.BndPt[4].Link[0], 3);
    EXPECT_TRUE(RebuildLinks(m, m.BndLine, 9));
    EXPECT_EQ(m.BndPt[10].nLink, 0);

    m.CutLine[0] = {2, 1};
    m.CutLine[1] = {1, 5};
    EXPECT_TRUE(RebuildLinks(m, m.CutLine, 2));
    EXPECT_EQ(m.BndPt[1].Link[0], 0);
    EXPECT_EQ(m.BndPt[1].Link[1], 1);
    EXPECT_EQ(m.BndPt[0].nLink, 0);
    m.CutLine[0] = {2, 40};  // an end that names no point
    EXPECT_FALSE(RebuildLinks(m, m.CutLine, 1));
}

}  // namespace
