#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "cal_builder.hpp"
#include "engine/run.hpp"

using namespace kova::engine;
using namespace enginetest;

namespace {

const double kPi = std::acos(-1.0);

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<std::array<double, 3>> ReadRows(const std::filesystem::path& p) {
    std::vector<std::array<double, 3>> rows;
    std::string text = ReadBytes(p);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos);
        if (end == std::string::npos) break;
        std::array<double, 3> r{};
        EXPECT_EQ(std::sscanf(text.substr(pos, end - pos).c_str(), "%lf,%lf,%lf", &r[0], &r[1], &r[2]), 3);
        rows.push_back(r);
        pos = end + 2;
    }
    return rows;
}

struct EngineRun {
    TempDir dir;
    std::unique_ptr<EngineState> st = std::make_unique<EngineState>();
    kova::RecordingMessages msgs;
    int code = -1;

    explicit EngineRun(const Input& in, RunOptions opt = {}) : EngineRun(in.Lines(), opt) {}
    explicit EngineRun(const std::vector<std::string>& lines, RunOptions opt = {}) {
        WriteLines(dir.path / "CAL_TNK.DAT", lines);
        if (!opt.clock) opt.clock = [] { return RunStamp{26, 12, 8, 9, 5, 7}; };
        code = run_calculation(dir.path, *st, msgs, opt);
    }
    bool Has(const char* name) const { return std::filesystem::exists(dir.path / name); }
};

// Clay from x = 10 to 110, 4 m thick, under one strip load.
Input Basic() {
    Input f;
    f.layers.push_back(Clay({f.Point(10, 0), f.Point(110, 0), f.Point(110, -4), f.Point(10, -4)}, 18, 0));
    f.strip_loads.push_back(Load{40, 40, 0, 80, 0, 1, 0, 0});
    return f;
}

}  // namespace

TEST(EngineRun, ProfileFileFormat) {
    EngineRun r(Basic());
    ASSERT_EQ(r.code, 0);
    std::string text = ReadBytes(r.dir.path / "tnk.csv");
    auto rows = ReadRows(r.dir.path / "tnk.csv");
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "10.000000,0.000000,0.000000");
    for (int i = 0; i < 1000; ++i) {
        EXPECT_NEAR(rows[i][0], 10 + 0.1 * i, 1e-6);
        EXPECT_EQ(rows[i][1], 0);
        EXPECT_TRUE(std::isfinite(rows[i][2]));
    }
    EXPECT_NEAR(rows[999][0], 109.9, 1e-6);
    EXPECT_GT(rows[500][2], 0.05);  // under the load
    EXPECT_TRUE(r.Has("tnk1.csv"));
    EXPECT_EQ(ReadBytes(r.dir.path / "tnk1.csv"), "");  // no position
    EXPECT_EQ(r.msgs.Count(), 0u);
    EXPECT_EQ(r.st->stamp.year, 26);
    EXPECT_EQ(r.st->stamp.second, 7);
}

TEST(EngineRun, NoSoilLayer) {
    Input f;
    f.Point(0, 0);
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    std::string text = ReadBytes(r.dir.path / "tnk.csv");
    auto rows = ReadRows(r.dir.path / "tnk.csv");
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "0.000000,-9999.990000,0.000000");
}

TEST(EngineRun, PositionSettlementByHand) {
    // A 40 m strip of 40 kN/m2 on the surface; position under its middle.
    Input f = Basic();
    f.positions.push_back({60, "中央"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    auto rows = ReadRows(r.dir.path / "tnk1.csv");
    ASSERT_EQ(rows.size(), 1u);
    // Textbook stress at depth 2 under the centre of a strip of width 2b:
    // q/pi (alpha + sin alpha) with alpha = 2 atan(b/z).
    double alpha = 2 * std::atan(20.0 / 2.0);
    double dp = 40 / kPi * (alpha + std::sin(alpha));
    auto rnd = [](double v, double s) { return std::round(v / s) * s; };
    auto e = [](double p) { return 2.0 - 0.4 * (std::log10(p) - 1); };
    double p0 = 36, e1 = rnd(e(p0), 0.001), e2 = rnd(e(p0 + dp), 0.001);
    double s = rnd(4 * rnd((e1 - e2) / (1 + e1), 0.0001), 0.001);
    EXPECT_NEAR(rows[0][0], 60, 1e-9);
    EXPECT_NEAR(rows[0][1], 0, 1e-9);
    EXPECT_NEAR(rows[0][2], s, 1e-9);
    EXPECT_NEAR(r.st->history.stage_total[1], s, 1e-9);
    EXPECT_EQ(r.st->history.stage_count, 1);
}

TEST(EngineRun, StagesAreKeptCompactly) {
    Input f = Basic();
    f.strip_loads[0].stage = 3;
    f.strip_loads[0].start = 30;
    f.strip_loads[0].days = 10;
    f.strip_loads.push_back(Load{20, 40, 0, 80, 0, 1, 0, 5});
    f.positions.push_back({60, "A"});
    EngineRun both(f);
    ASSERT_EQ(both.code, 0);
    const PositionHistory& h = both.st->history;
    ASSERT_EQ(h.stage_count, 2);
    EXPECT_EQ(h.stage_number[0], 1);
    EXPECT_EQ(h.stage_number[1], 3);
    // Stage 3 carries the stresses of stages 1 and 3: three times stage 1's.
    EXPECT_NEAR(h.stage_dp[1][0], 3 * h.stage_dp[0][0], 1e-9);
    EXPECT_GT(h.stage_total[2], h.stage_total[1]);
    EXPECT_NEAR(ReadRows(both.dir.path / "tnk1.csv")[0][2], h.stage_total[2], 1e-9);

    // Only stage 2 loaded: one entry, labelled 2.
    Input g = Basic();
    g.strip_loads[0].stage = 2;
    g.positions.push_back({60, "A"});
    EngineRun only(g);
    ASSERT_EQ(only.code, 0);
    EXPECT_EQ(only.st->history.stage_count, 1);
    EXPECT_EQ(only.st->history.stage_number[0], 2);
    EXPECT_GT(only.st->history.stage_total[1], 0);
}

TEST(EngineRun, HistoryIsClearedForEveryPosition) {
    Input f = Basic();
    // A second layer only under the first position.
    f.layers.push_back(Clay({f.Point(10, -4), f.Point(50, -4), f.Point(50, -8), f.Point(10, -8)}, 17, 2));
    f.positions.push_back({30, "two layers"});
    f.positions.push_back({90, "one layer"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    const PositionHistory& h = r.st->history;
    EXPECT_EQ(h.layer_count, 1);
    EXPECT_EQ(h.stage_dp[0][1], 0);
    EXPECT_EQ(h.stage_settlement[0][1], 0);
    EXPECT_EQ(h.stage_mv[0][1], 0);
    auto rows = ReadRows(r.dir.path / "tnk1.csv");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NEAR(rows[1][2], h.stage_total[1], 1e-12);
}

TEST(EngineRun, NoLoadInAnyStageSettlesNothing) {
    Input f = Basic();
    f.strip_loads.clear();
    f.positions.push_back({60, "A"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(ReadBytes(r.dir.path / "tnk1.csv"), "60.000000,0.000000,0.000000\r\n");
    EXPECT_EQ(r.st->history.stage_count, 0);
}

TEST(EngineRun, SwitchesForSandAndCuts) {
    Input f = Basic();
    f.layers[0].kind = 1;
    f.layers[0].method = 3;
    f.positions.push_back({60, "A"});
    f.sand = 0;
    EngineRun off(f);
    ASSERT_EQ(off.code, 0);
    for (auto& row : ReadRows(off.dir.path / "tnk.csv")) EXPECT_EQ(row[2], 0);
    f.sand = 1;
    EngineRun on(f);
    EXPECT_GT(ReadRows(on.dir.path / "tnk1.csv")[0][2], 0);
    // A clay layer of the sand method does not consolidate either.
    f.layers[0].kind = 0;
    f.sand = 0;
    EngineRun clay(f);
    EXPECT_EQ(ReadRows(clay.dir.path / "tnk1.csv")[0][2], 0);
    EXPECT_EQ(clay.st->history.method[0], 4);

    Input c = Basic();
    c.cuts.push_back(Block{{c.Point(50, 2), c.Point(70, 2), c.Point(70, 0), c.Point(50, 0)}, 18});
    c.positions.push_back({60, "A"});
    c.cut = 1;
    EngineRun withCut(c);
    EXPECT_NEAR(withCut.st->input.positions[0].unloading, 36, 1e-9);
    c.cut = 0;
    EngineRun noCut(c);
    EXPECT_EQ(noCut.st->input.positions[0].unloading, 0);
    EXPECT_EQ(noCut.st->input.cut_count, 0);
    EXPECT_GT(ReadRows(noCut.dir.path / "tnk1.csv")[0][2], ReadRows(withCut.dir.path / "tnk1.csv")[0][2]);
}

TEST(EngineRun, ParallelProfileIsByteIdentical) {
    Input f = Basic();
    f.blocks.push_back(Block{{f.Point(20, 0), f.Point(30, 3), f.Point(50, 3), f.Point(60, 0)}, 19});
    f.point_loads.push_back(Load{100, 90, 1});
    f.line_loads.push_back(Load{30, 70, 0.5});
    f.walls.push_back(Wall{65, 1, -10});
    RunOptions one, many;
    one.threads = 1;
    many.threads = 5;
    EngineRun a(f, one), b(f, many);
    ASSERT_EQ(a.code, 0);
    ASSERT_EQ(b.code, 0);
    EXPECT_EQ(ReadBytes(a.dir.path / "tnk.csv"), ReadBytes(b.dir.path / "tnk.csv"));
}

TEST(EngineRun, MissingInput) {
    TempDir dir;
    auto st = std::make_unique<EngineState>();
    kova::RecordingMessages msgs;
    EXPECT_EQ(run_calculation(dir.path, *st, msgs), 1);
    ASSERT_EQ(msgs.Count(), 1u);
    EXPECT_EQ(msgs.Last().text, "条件ファイルが見つかりません。\rインストールが正常に行われていない可能性があります。");
    EXPECT_EQ(msgs.Last().caption, "error");
    EXPECT_FALSE(std::filesystem::exists(dir.path / "tnk.csv"));
}

TEST(EngineRun, UnwritableResultFile) {
    TempDir dir;
    WriteLines(dir.path / "CAL_TNK.DAT", Basic().Lines());
    std::filesystem::create_directory(dir.path / "tnk.csv");  // cannot be replaced
    auto st = std::make_unique<EngineState>();
    kova::RecordingMessages msgs;
    EXPECT_EQ(run_calculation(dir.path, *st, msgs), 1);
    ASSERT_EQ(msgs.Count(), 1u);
    EXPECT_NE(msgs.Last().text.find("tnk.csv"), std::string::npos);
}

TEST(EngineRun, LongTitleIsCutOnACharacterBoundary) {
    Input f = Basic();
    f.title = "aaa";
    for (int i = 0; i < 70; ++i) f.title += "盛";
    f.positions.push_back({60, "名前 with blank"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.st->input.ProjectTitle, "aaa" + [] {
        std::string s;
        for (int i = 0; i < 61; ++i) s += "盛";
        return s;
    }());
    EXPECT_EQ(r.st->input.positions[0].name, "名前 with blank");
}

TEST(EngineRun, EmbankmentNeedingHundredPieces) {
    Input f = Basic();
    std::vector<int> v{f.Point(10, 0)};
    for (int i = 0; i < 60; ++i) v.push_back(f.Point(10.5 + i, 3 + (i % 2)));
    v.push_back(f.Point(70, 0));
    f.blocks.push_back(Block{v, 19});
    EngineRun r(f);
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.msgs.Count(), 1u);
    EXPECT_EQ(r.msgs.Last().caption, "ブロック分割");
    EXPECT_FALSE(r.Has("tnk1.csv"));
}

TEST(EngineRun, CrossedEmbankmentIsReportedOnceAndTheRunGoesOn) {
    Input f = Basic();
    f.blocks.push_back(
        Block{{f.Point(56.9, 8), f.Point(6.3, 1.2), f.Point(76.1, 4.7), f.Point(38, 2.1), f.Point(48.8, 8.9)}, 19});
    f.positions.push_back({25, "A"});
    f.positions.push_back({60, "B"});
    EngineRun r(f);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.msgs.Count(), 1u);
    for (auto& row : ReadRows(r.dir.path / "tnk.csv")) EXPECT_TRUE(std::isfinite(row[2]));
}

TEST(EngineRun, NoNegativeZeroIsWritten) {
    // Crossings at elevation 0 may come out a hair below zero.
    Input f;
    std::vector<int> top;
    for (int x = 0; x <= 400; x += 8) top.push_back(f.Point(x, 0));
    std::vector<int> first = top;
    for (int x = 400; x >= 0; x -= 100) first.push_back(f.Point(x, -1));
    f.layers.push_back(Clay(first, 18, 0));
    f.layers.push_back(Clay({f.Point(0, -1), f.Point(400, -1), f.Point(400, -20), f.Point(0, -20)}, 17, 2));
    f.blocks.push_back(Block{{f.Point(150, 0), f.Point(160, 5.98975), f.Point(170, 0)}, 19});
    f.strip_loads.push_back(Load{20, 100, 0, 300, 0, 1, 0, 0});
    for (int i = 0; i < 20; ++i) f.positions.push_back({10 + 19.5 * i, "P"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(ReadBytes(r.dir.path / "tnk.csv").find("-0.000000"), std::string::npos);
    EXPECT_EQ(ReadBytes(r.dir.path / "tnk1.csv").find("-0.000000"), std::string::npos);
}
