#include <gtest/gtest.h>

#include <sys/stat.h>

#include "dialogs/dialog8_form.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

using test::ReadBytes;
using test::TempDir;

void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

Model ThreePoints() {
    Model m;
    const double p[] = {10, 20, 40};
    for (int d = 0; d < kSandCurves; ++d) {
        m.BKHoughCurve[d].n = 3;
        for (int a = 0; a < 3; ++a) {
            m.BKHoughCurve[d].X[a] = p[a];
            m.BKHoughCurve[d].Y[a] = 1.2 - 0.1 * d - 0.05 * a;
        }
    }
    return m;
}

TEST(Dialog8Form, StoreWritesRowsNotModel) {
    TempDir dir;
    Model m = ThreePoints();
    const Model before = m;
    Dialog8Form f(m);
    f.SetValue(0, 1, 1.2);
    RecordingMessages ui;
    ui.Script(MsgAnswer::Ok);
    ASSERT_TRUE(f.StoreDefaults(m, dir.path(), ui));
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "データを初期値として保存します");
    EXPECT_EQ(ui.Last().caption, "確認");
    EXPECT_EQ(ui.Last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(ui.Last().defaultButton, 1);
    EXPECT_EQ(ReadBytes(dir / "BKHough1.CSV"),
              "3\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n"
              "20.0,1.150,1.050,0.950,0.850,0.750\r\n"
              "40.0,1.100,1.000,0.900,0.800,0.700\r\n");
    // Then Cancel: the model never saw the edit.
    EXPECT_EQ(m.BKHoughCurve[0].Y, before.BKHoughCurve[0].Y);
}

TEST(Dialog8Form, CancelInConfirmationChangesNeitherFileNorModel) {
    TempDir dir;
    WriteFile(dir / "BKHough1.CSV", "1\r\n5.0,1.0,1.0,1.0,1.0,1.0\r\n");
    for (bool store : {true, false}) {
        Model m = ThreePoints();
        const Model before = m;
        Dialog8Form f(m);
        f.SetValue(1, 0, 99);
        RecordingMessages ui;
        ui.Script(MsgAnswer::Cancel);
        EXPECT_FALSE(store ? f.StoreDefaults(m, dir.path(), ui) : f.RestoreDefaults(m, dir.path(), ui));
        EXPECT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ReadBytes(dir / "BKHough1.CSV"), "1\r\n5.0,1.0,1.0,1.0,1.0,1.0\r\n");
        EXPECT_EQ(m.BKHoughCurve[0].n, before.BKHoughCurve[0].n);
        EXPECT_EQ(f.Row(1)[0], 99);
    }
}

TEST(Dialog8Form, RestoreReadsCountsWithinTheRows) {
    struct Case {
        int count;
        bool ok;
    } cases[] = {{0, true}, {21, true}, {22, false}};
    for (const Case& c : cases) {
        TempDir dir;
        std::string text = std::to_string(c.count) + "\r\n";
        for (int a = 0; a < c.count; ++a) text += std::to_string(10 * (a + 1)) + ".0,1.5,1.4,1.3,1.2,1.1\r\n";
        WriteFile(dir / "BKHough1.CSV", text);
        Model m = ThreePoints();
        Dialog8Form f(m);
        RecordingMessages ui;
        ui.Script(MsgAnswer::Ok);
        EXPECT_EQ(f.RestoreDefaults(m, dir.path(), ui), c.ok) << c.count;
        if (c.ok) {
            EXPECT_EQ(ui.Count(), 1u);
            EXPECT_EQ(f.RowCount(), c.count);
            for (int d = 0; d < kSandCurves; ++d) EXPECT_EQ(m.BKHoughCurve[d].n, c.count);
            if (c.count == 21) {
                EXPECT_EQ(f.Row(20)[0], 210);
            }
        } else {
            ASSERT_EQ(ui.Count(), 2u);
            EXPECT_EQ(ui.Last().text.rfind("条件ﾌｧｲﾙ(BKHough1.CSV)が読み込み出来ません。", 0), 0u);
            EXPECT_EQ(f.RowCount(), 3);  // not refilled
            EXPECT_EQ(m.BKHoughCurve[0].n, 3);
        }
    }
}

TEST(Dialog8Form, OkStoresAll21PointsAndPressureInEveryCurve) {
    Model m;
    for (int d = 0; d < kSandCurves; ++d) {
        m.BKHoughCurve[d].n = 21;
        for (int a = 0; a < 21; ++a) {
            m.BKHoughCurve[d].X[a] = 9.81 * (a + 1);
            m.BKHoughCurve[d].Y[a] = 2.0 - 0.01234 * a - d * 0.1;
        }
    }
    const Model before = m;
    Dialog8Form f(m);
    ASSERT_EQ(f.RowCount(), 21);
    f.SetValue(1, 0, 25);  // row 2's pressure
    f.Apply(m);
    for (int d = 0; d < kSandCurves; ++d) {
        EXPECT_EQ(m.BKHoughCurve[d].n, 21);
        EXPECT_EQ(m.BKHoughCurve[d].X[1], 25);
        EXPECT_EQ(m.BKHoughCurve[d].X[20], before.BKHoughCurve[d].X[20]);  // 206.01 whole
        EXPECT_EQ(m.BKHoughCurve[d].Y, before.BKHoughCurve[d].Y);
    }
    std::vector<SandRow> rows;
    for (int a = 0; a < 22; ++a) rows.push_back(f.Row(a % 20));
    f.SetRows(rows);  // a 22nd row cannot be held
    f.Apply(m);
    EXPECT_EQ(m.BKHoughCurve[4].n, 21);
    rows.resize(20);
    f.SetRows(rows);
    f.Apply(m);
    EXPECT_EQ(m.BKHoughCurve[4].n, 20);
}

TEST(Dialog8Form, FailedWriteKeepsTheOldFile) {
    TempDir dir;
    const std::string old = "1\r\n5.0,1.000,1.000,1.000,1.000,1.000\r\n";
    WriteFile(dir / "BKHough1.CSV", old);
    // A read-only folder; the blocked scratch name makes it fail for root too.
    std::filesystem::create_directory(dir / "BKHough1.CSV.tmp~");
    ::chmod(dir.path().c_str(), 0555);
    Model m = ThreePoints();
    Dialog8Form f(m);
    RecordingMessages ui;
    ui.Script(MsgAnswer::Ok);
    EXPECT_FALSE(f.StoreDefaults(m, dir.path(), ui));
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_EQ(ui.Count(), 2u);
    EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(BKHough1.CSV)に書き込み出来ません。");
    EXPECT_EQ(ReadBytes(dir / "BKHough1.CSV"), old);
}

}  // namespace
}  // namespace kova
