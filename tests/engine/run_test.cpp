// Whole runs into tnk.csv and tnk1.csv: file layout, a position worked by
// hand, the compact stage history, the switches and the run's failures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "cal_builder.hpp"

using namespace kova::engine;
using namespace enginetest;

namespace {

std::vector<std::array<double, 3>> Rows(const std::string& text) {
    std::vector<std::array<double, 3>> rows;
    for (std::size_t pos = 0, end; pos < text.size(); pos = end + 2) {
        end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos);
        if (end == std::string::npos) break;
        std::array<double, 3> r{};
        EXPECT_EQ(std::sscanf(text.substr(pos, end - pos).c_str(), "%lf,%lf,%lf", &r[0], &r[1], &r[2]), 3);
        rows.push_back(r);
    }
    return rows;
}
double Settled(const EngineRun& r, std::size_t row = 0) { return Rows(r.Bytes("tnk1.csv")).at(row)[2]; }

// Clay from x = 10 to 110, 4 m thick, under a strip load from 40 to 80.
Input Basic(bool position = true) {
    Input f;
    f.layers.push_back(Clay({f.Point(10, 0), f.Point(110, 0), f.Point(110, -4), f.Point(10, -4)}, 18, 0));
    f.strip_loads.push_back(Load{40, 40, 0, 80, 0, 1, 0, 0});
    if (position) f.positions.push_back({60, "A"});
    return f;
}

}  // namespace

TEST(EngineRun, ProfileFileFormat) {
    EngineRun r(Basic(false));
    ASSERT_EQ(r.code, 0);
    std::string text = r.Bytes("tnk.csv");
    auto rows = Rows(text);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "10.000000,0.000000,0.000000");
    for (int i = 0; i < 1000; ++i) {
        EXPECT_NEAR(rows[i][0], 10 + 0.1 * i, 1e-6);
        EXPECT_EQ(rows[i][1], 0);
    }
    EXPECT_GT(rows[500][2], 0.05);  // under the load
    EXPECT_EQ(r.Bytes("tnk1.csv"), "");  // no position, but the file
    EXPECT_TRUE(r.Has("tnk1.csv"));
    EXPECT_EQ(r.msgs.Count(), 0u);
    EXPECT_EQ(r.st->stamp.second, 7);
    // Without soil the ground is "none" on every row.
    Input bare;
    bare.Point(0, 0);
    EngineRun b(bare);
    ASSERT_EQ(b.code, 0);
    EXPECT_EQ(b.Bytes("tnk.csv").substr(0, 30), "0.000000,-9999.990000,0.000000");
    EXPECT_EQ(Rows(b.Bytes("tnk.csv")).size(), 1000u);
}

TEST(EngineRun, PositionSettlementByHand) {
    EngineRun r(Basic());
    ASSERT_EQ(r.code, 0);
    // Stress at depth 2 under the centre of a strip of width 2b:
    // q/pi (alpha + sin alpha) with alpha = 2 atan(b/z).
    double alpha = 2 * std::atan(20.0 / 2.0);
    double dp = 40 / std::acos(-1.0) * (alpha + std::sin(alpha));
    auto rnd = [](double v, double s) { return std::round(v / s) * s; };
    auto e = [](double p) { return 2.0 - 0.4 * (std::log10(p) - 1); };
    double e1 = rnd(e(36), 0.001), e2 = rnd(e(36 + dp), 0.001);
    double s = rnd(4 * rnd((e1 - e2) / (1 + e1), 0.0001), 0.001);
    auto rows = Rows(r.Bytes("tnk1.csv"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NEAR(rows[0][0], 60, 1e-9);
    EXPECT_NEAR(rows[0][2], s, 1e-9);
    EXPECT_EQ(r.st->history.stage_count, 1);
    // No load in any stage: nothing settles and no stage is kept.
    Input none = Basic();
    none.strip_loads.clear();
    EngineRun n(none);
    EXPECT_EQ(n.Bytes("tnk1.csv"), "60.000000,0.000000,0.000000\r\n");
    EXPECT_EQ(n.st->history.stage_count, 0);
}

TEST(EngineRun, StagesAreKeptCompactly) {
    Input f = Basic();
    f.strip_loads[0].stage = 3;
    f.strip_loads[0].start = 30;
    f.strip_loads.push_back(Load{20, 40, 0, 80, 0, 1, 0, 5});
    EngineRun both(f);
    ASSERT_EQ(both.code, 0);
    const PositionHistory& h = both.st->history;
    ASSERT_EQ(h.stage_count, 2);
    EXPECT_EQ(h.stage_number[0], 1);
    EXPECT_EQ(h.stage_number[1], 3);
    // Stage 3 carries the stresses of stages 1 and 3: three times stage 1's.
    EXPECT_NEAR(h.stage_dp[1][0], 3 * h.stage_dp[0][0], 1e-9);
    EXPECT_GT(h.stage_total[2], h.stage_total[1]);
    EXPECT_NEAR(Settled(both), h.stage_total[2], 1e-9);
    // Only stage 2 loaded: one entry, labelled 2.
    Input g = Basic();
    g.strip_loads[0].stage = 2;
    EngineRun only(g);
    EXPECT_EQ(only.st->history.stage_count, 1);
    EXPECT_EQ(only.st->history.stage_number[0], 2);
    EXPECT_GT(only.st->history.stage_total[1], 0);
}

TEST(EngineRun, HistoryIsClearedForEveryPosition) {
    Input f = Basic(false);
    // A second layer only under the first position.
    f.layers.push_back(Clay({f.Point(10, -4), f.Point(50, -4), f.Point(50, -8), f.Point(10, -8)}, 17, 2));
    f.positions = {{30, "two layers"}, {90, "one layer"}};
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    const PositionHistory& h = r.st->history;
    EXPECT_EQ(h.layer_count, 1);
    EXPECT_EQ(h.stage_dp[0][1], 0);
    EXPECT_EQ(h.stage_settlement[0][1], 0);
    EXPECT_EQ(h.stage_mv[0][1], 0);
    EXPECT_NEAR(Settled(r, 1), h.stage_total[1], 1e-12);
}

TEST(EngineRun, SwitchesForSandAndCuts) {
    Input f = Basic();
    f.layers[0].kind = 1;
    f.layers[0].method = 3;
    f.sand = 0;
    EngineRun off(f);
    ASSERT_EQ(off.code, 0);
    for (auto& row : Rows(off.Bytes("tnk.csv"))) EXPECT_EQ(row[2], 0);
    f.sand = 1;
    EXPECT_GT(Settled(EngineRun(f)), 0);
    // A clay layer of the sand method does not consolidate either.
    f.layers[0].kind = 0;
    f.sand = 0;
    EngineRun clay(f);
    EXPECT_EQ(Settled(clay), 0);
    EXPECT_EQ(clay.st->history.method[0], 4);

    Input c = Basic();
    c.cuts.push_back(Block{{c.Point(50, 2), c.Point(70, 2), c.Point(70, 0), c.Point(50, 0)}, 18});
    EngineRun withCut(c);
    EXPECT_NEAR(withCut.st->input.positions[0].unloading, 36, 1e-9);
    c.cut = 0;
    EngineRun noCut(c);
    EXPECT_EQ(noCut.st->input.positions[0].unloading, 0);
    EXPECT_EQ(noCut.st->input.cut_count, 0);
    EXPECT_GT(Settled(noCut), Settled(withCut));
}

TEST(EngineRun, MissingInputAndUnwritableResult) {
    EngineRun missing(std::vector<std::string>{});
    EXPECT_EQ(missing.code, 1);
    ASSERT_EQ(missing.msgs.Count(), 1u);
    EXPECT_EQ(missing.msgs.Last().text, "条件ファイルが見つかりません。\rインストールが正常に行われていない可能性があります。");
    EXPECT_EQ(missing.msgs.Last().caption, "error");
    EXPECT_FALSE(missing.Has("tnk.csv"));
    // A folder in the place of tnk.csv cannot be replaced.
    EngineRun blocked(Basic().Lines(), 0, [](const std::filesystem::path& d) {
        std::filesystem::create_directory(d / "tnk.csv");
    });
    EXPECT_EQ(blocked.code, 1);
    ASSERT_EQ(blocked.msgs.Count(), 1u);
    EXPECT_NE(blocked.msgs.Last().text.find("tnk.csv"), std::string::npos);
}

TEST(EngineRun, LongTitleIsCutOnACharacterBoundary) {
    Input f = Basic(false);
    std::string kept = "aaa";
    for (int i = 0; i < 61; ++i) kept += "盛";
    f.title = kept + "盛盛盛盛盛盛盛盛盛";
    f.positions.push_back({60, "名前 with blank"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.st->input.ProjectTitle, kept);
    EXPECT_EQ(r.st->input.positions[0].name, "名前 with blank");
}

TEST(EngineRun, BadEmbankmentOutlines) {
    // Needing over a hundred pieces ends the run.
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
    // A crossed outline has no load that could be told: the run is refused
    // once, naming the embankment, before any file is written.
    Input g = Basic();
    g.blocks.push_back(
        Block{{g.Point(56.9, 8), g.Point(6.3, 1.2), g.Point(76.1, 4.7), g.Point(38, 2.1), g.Point(48.8, 8.9)}, 19});
    g.positions.push_back({25, "B"});
    EngineRun x(g);
    EXPECT_EQ(x.code, 1);
    ASSERT_EQ(x.msgs.Count(), 1u);
    EXPECT_NE(x.msgs.Last().text.find("盛土 1 の外形線が交差しています"), std::string::npos) << x.msgs.Last().text;
    EXPECT_FALSE(x.Has("TK_DATA.PDT") || x.Has("tnk.csv"));
}

TEST(EngineRun, NoNegativeZeroIsWritten) {
    // Crossings at elevation 0 may come out a hair below zero.
    Input f;
    std::vector<int> first;
    for (int x = 0; x <= 400; x += 8) first.push_back(f.Point(x, 0));
    for (int x = 400; x >= 0; x -= 100) first.push_back(f.Point(x, -1));
    f.layers.push_back(Clay(first, 18, 0));
    f.layers.push_back(Clay({f.Point(0, -1), f.Point(400, -1), f.Point(400, -20), f.Point(0, -20)}, 17, 2));
    f.blocks.push_back(Block{{f.Point(150, 0), f.Point(160, 5.98975), f.Point(170, 0)}, 19});
    f.strip_loads.push_back(Load{20, 100, 0, 300, 0, 1, 0, 0});
    for (int i = 0; i < 20; ++i) f.positions.push_back({10 + 19.5 * i, "P"});
    EngineRun r(f);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.Bytes("tnk.csv").find("-0.000000"), std::string::npos);
    EXPECT_EQ(r.Bytes("tnk1.csv").find("-0.000000"), std::string::npos);
}
