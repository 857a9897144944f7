#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/boundary.hpp"
#include "model/reset.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/textfile.hpp"

namespace fs = std::filesystem;
using namespace kova;

namespace {

class ModelFiles : public ::testing::Test {
protected:
    void WriteSand(const std::string& bytes) {
        std::ofstream(dir / "BKHough1.CSV", std::ios::binary) << bytes;
    }
    std::string Sand() { return test::ReadBytes(dir / "BKHough1.CSV"); }
    test::TempDir tmp;
    fs::path dir = tmp.path();
    RecordingMessages ui;
    Model m;
};

const char* kReadFail = "条件ﾌｧｲﾙ(BKHough1.CSV)が読み込み出来ません。";

std::string Rows(int n) {
    std::string s = std::to_string(n) + "\r\n";
    for (int a = 0; a < n; ++a)
        s += std::to_string(10 * (a + 1)) + ".0,1.0" + std::to_string(a % 10) + "0,0.9,0.8,0.7,0.6\r\n";
    return s;
}

}  // namespace

TEST_F(ModelFiles, ResetGivesTheDefaultsOfANewProject) {
    WriteSand("0\r\n");
    m.BndPtCount = 7;
    m.Embankment[3].Stage = 4;
    m.Embankment[3].Name = "x";
    m.PointLoad[2].Stage = 3;
    m.StageCount = 5;
    m.Cond.LeavePeriod = 5;
    m.DrainMethod[4].Detail[2] = 9;
    m.BndLine[10].pt1 = 3;
    ResetModel(m, dir, ui);
    EXPECT_EQ(ui.Count(), 0u);
    EXPECT_EQ(m.BndPtCount, 0);
    EXPECT_EQ(m.StageCount, 1);
    EXPECT_EQ(m.Cond.LeavePeriod, 1000);
    EXPECT_EQ(m.Cond.MvPMethod, 1);
    EXPECT_EQ(m.Cond.CvPMethod, 1);
    EXPECT_EQ(m.Cond.UseCutPreload, 1);
    EXPECT_EQ(m.Cond.UseSandImmediate, 1);
    EXPECT_EQ(m.Cond.TimeCondKind, 0);
    EXPECT_EQ(m.Cond.ResidualSettlement, 1.0);
    EXPECT_EQ(m.Cond.AutoScaleXY, 0);
    EXPECT_EQ(m.BndLine[10].pt1, -1);
    for (const auto* t : {&m.Embankment, &m.SoilLayer, &m.CutBlock})
        for (const auto& b : *t) {
            EXPECT_EQ(b.Stage, 1);
            EXPECT_EQ(b.nPt, 0);
            EXPECT_TRUE(b.Name.empty());
        }
    for (const auto* t : {&m.PointLoad, &m.LineLoad, &m.StripLoad})
        for (const auto& l : *t) EXPECT_EQ(l.Stage, 0);
    for (const auto& d : m.DrainMethod) {
        EXPECT_EQ(d.Method, 0);
        EXPECT_EQ(d.Detail, (std::array<double, 7>{0, 0, 1, 0, 0, 0, 1}));
    }
    for (const auto& p : m.BndPt) {
        EXPECT_EQ(p.nLink, 0);
        for (auto l : p.Link) EXPECT_EQ(l, -1);
    }
}

TEST_F(ModelFiles, SandCurvesReadFromOneLineOrMany) {
    WriteSand("2\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n20.0,1.100,1.000,0.900,0.800,0.700\r\n");
    ResetModel(m, dir, ui);
    Model other;
    WriteSand("2, 10, 1.2,1.1\n1.0,0.9,0.8,20.0,1.1,1.0,0.9,0.8,0.7");
    ResetModel(other, dir, ui);
    EXPECT_EQ(ui.Count(), 0u);
    for (int d = 0; d < 5; ++d) {
        EXPECT_EQ(m.BKHoughCurve[d].n, 2);
        EXPECT_EQ(m.BKHoughCurve[d].X[1], 20.0);
        EXPECT_DOUBLE_EQ(m.BKHoughCurve[d].Y[0], 1.2 - 0.1 * d);
        EXPECT_EQ(other.BKHoughCurve[d].n, 2);
        EXPECT_EQ(other.BKHoughCurve[d].X[0], m.BKHoughCurve[d].X[0]);
        EXPECT_EQ(other.BKHoughCurve[d].Y[1], m.BKHoughCurve[d].Y[1]);
    }
}

TEST_F(ModelFiles, SandCurveCountsAtTheLimits) {
    WriteSand("0\r\n");
    ResetModel(m, dir, ui);
    EXPECT_EQ(ui.Count(), 0u);
    for (int d = 0; d < 5; ++d) EXPECT_EQ(m.BKHoughCurve[d].n, 0);

    WriteSand(Rows(21));
    ResetModel(m, dir, ui);
    EXPECT_EQ(ui.Count(), 0u);
    EXPECT_EQ(m.BKHoughCurve[4].n, 21);
    EXPECT_EQ(m.BKHoughCurve[4].X[20], 210.0);

    // 22 points would overrun the table: refused whole, curves kept.
    WriteSand(Rows(22));
    ResetModel(m, dir, ui);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, kReadFail);
    EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.BKHoughCurve[4].n, 21);
}

TEST_F(ModelFiles, BadSandFilesLeaveTheCurvesAsTheyWere) {
    WriteSand("1\r\n10.0,1,2,3,4,5\r\n");
    ResetModel(m, dir, ui);
    ASSERT_EQ(m.BKHoughCurve[0].n, 1);
    for (const char* bad : {"2\r\n10.0,1,2,3,4,5\r\n", "1\r\n10.0,1,x,3,4,5\r\n", "-1\r\n", "abc\r\n",
                            "1\r\n10.0,1,nan,3,4,5\r\n", "", "1\r\n10.0,1,2,3,4,1e999\r\n"}) {
        ui.Clear();
        WriteSand(bad);
        m.BndPtCount = 3;
        ResetModel(m, dir, ui);
        EXPECT_EQ(ui.Count(), 1u) << bad;
        EXPECT_EQ(m.BndPtCount, 0) << "the rest of the reset is done";
        EXPECT_EQ(m.BKHoughCurve[2].n, 1) << bad;
        EXPECT_EQ(m.BKHoughCurve[2].Y[0], 3) << bad;
    }
}

TEST_F(ModelFiles, MissingSandFileIsToldAtEveryReset) {
    ResetModel(m, dir, ui);
    ResetModel(m, dir, ui);
    EXPECT_EQ(ui.Count(), 2u);
    for (int d = 0; d < 5; ++d) EXPECT_EQ(m.BKHoughCurve[d].n, 0);
}

TEST_F(ModelFiles, SandFileWriterFormatsAndReadsBack) {
    SandCurves c{};
    for (int d = 0; d < 5; ++d) {
        c[d].n = 2;
        c[d].X[0] = 10;
        c[d].X[1] = 25.25;
        c[d].Y[0] = 1.2 - 0.1 * d;
        c[d].Y[1] = 1.0 - 0.1 * d;
    }
    ASSERT_TRUE(WriteSandCurveFile(dir, c, ui));
    EXPECT_EQ(Sand(), "2\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n25.2,1.000,0.900,0.800,0.700,0.600\r\n");
    SandCurves back{};
    ASSERT_TRUE(ReadSandCurveFile(dir, back, ui));
    EXPECT_EQ(back[3].n, 2);
    EXPECT_DOUBLE_EQ(back[3].Y[1], 0.7);

    ASSERT_TRUE(WriteSandCurveFile(dir, SandCurves{}, ui));
    EXPECT_EQ(Sand(), "0\r\n");

    EXPECT_FALSE(WriteSandCurveFile(dir / "no" / "such", c, ui));
    EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(BKHough1.CSV)に書き込み出来ません。");
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
    // Lines 0..9 all meet at point 0: the tenth cannot be linked there.
    for (int i = 0; i < 10; ++i) m.BndLine[i] = {static_cast<i16>(i == 3 ? i + 1 : 0), static_cast<i16>(i == 3 ? 0 : i + 1)};
    m.BndLineCount = 10;
    EXPECT_FALSE(RebuildLinks(m, m.BndLine, m.BndLineCount));
    EXPECT_EQ(m.BndPt[0].nLink, 9);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(m.BndPt[0].Link[k], k);
    EXPECT_EQ(m.BndPt[4].nLink, 1);
    EXPECT_EQ(m.BndPt[4].Link[0], 3);

    m.BndLineCount = 9;
    EXPECT_TRUE(RebuildLinks(m, m.BndLine, m.BndLineCount));
    EXPECT_EQ(m.BndPt[10].nLink, 0);

    m.CutLine[0] = {2, 1};
    m.CutLine[1] = {1, 5};
    EXPECT_TRUE(RebuildLinks(m, m.CutLine, 2));
    EXPECT_EQ(m.BndPt[1].nLink, 2);
    EXPECT_EQ(m.BndPt[1].Link[0], 0);
    EXPECT_EQ(m.BndPt[1].Link[1], 1);
    EXPECT_EQ(m.BndPt[0].nLink, 0);

    m.CutLine[0] = {2, 40};  // an end that names no point
    EXPECT_FALSE(RebuildLinks(m, m.CutLine, 1));
}

TEST(FindBndPt, NearestWithinTolerance) {
    Model m;
    EXPECT_EQ(FindBndPt(m, 0, 0, 10), -1);
    m.BndPt[0] = {0, 0};
    m.BndPt[1] = {2, 0};
    m.BndPt[2] = {1, 1.5};
    m.BndPtCount = 3;
    EXPECT_EQ(FindBndPt(m, 1, 0, 1), 1) << "equal distance: the later point wins";
    EXPECT_EQ(FindBndPt(m, 1, 1.45, 0.1), 2);
    EXPECT_EQ(FindBndPt(m, 3, 0, 1), 1) << "exactly at the tolerance";
    EXPECT_EQ(FindBndPt(m, 2.8, 0.8, 1), -1) << "inside the box, outside the circle";
    EXPECT_EQ(FindBndPt(m, 2, 0, 0), 1);
    EXPECT_EQ(FindBndPt(m, 2.0000001, 0, 0), -1);
}
