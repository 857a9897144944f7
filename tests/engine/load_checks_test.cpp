// The loads the engine can compute: block outlines the strips can carry,
// a reduction factor every method reads, one rule for a stage that removes
// load, and a reader that looks at the file before it reads it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "cal_builder.hpp"
#include "engine/data.hpp"
#include "testing/fakes.hpp"

using namespace enginetest;
using namespace kova::engine;

namespace {

namespace fs = std::filesystem;

// 6 m of clay on 0..100 under a 4 m embankment on 30..70, a position at 50.
Input Base(int method = 0) {
    Input f;
    f.layers.push_back(Clay({f.Point(0, 0), f.Point(100, 0), f.Point(100, -6), f.Point(0, -6)}, 17, method));
    f.layers[0].elogp.pts = {{1, 2.0}, {10, 1.6}, {100, 1.2}, {1000, 0.8}};
    f.blocks.push_back(Block{{f.Point(30, 0), f.Point(40, 4), f.Point(60, 4), f.Point(70, 0)}, 19, 1, 0, 30});
    f.positions.push_back({50, "C"});
    return f;
}

// An outline whose vertex at x0 + 10 pokes 0.5 mm above its edge along
// y = 0 from x0 to far: it crosses itself just below that vertex.
std::vector<int> Poking(Input& f, double x0, double far) {
    return {f.Point(x0, 0),        f.Point(far, 0),          f.Point(far, -10),
            f.Point(x0 + 10, -10), f.Point(x0 + 10, 0.0005), f.Point(x0, -10)};
}

struct Refusal {
    const char* what;
    std::function<void(Input&)> change;
    const char* message;  // a part of the one message shown
};

}  // namespace

TEST(EngineLoadChecks, ImpossibleBlocksAndFactorsAreRefusedBeforeAnyFile) {
    const std::vector<Refusal> cases = {
        {"a slope folded back",
         [](Input& f) {
             f.blocks[0].verts = {f.Point(30, 0), f.Point(50, 4), f.Point(35, 5), f.Point(60, 6), f.Point(70, 0)};
         },
         "盛土 1 の外形線が張り出しています"},
        {"a hook",
         [](Input& f) {
             f.blocks[0].verts = {f.Point(30, 0), f.Point(40, 4), f.Point(60, 4), f.Point(60, 6),
                                  f.Point(35, 6), f.Point(35, 8), f.Point(70, 8), f.Point(70, 0)};
         },
         "盛土 1 の外形線が張り出しています"},
        {"the same block twice", [](Input& f) { f.blocks.push_back(f.blocks[0]); },
         "盛土 1 と盛土 2 の外形線が重なっています"},
        {"a block over part of another",
         [](Input& f) {
             f.blocks.push_back(Block{{f.Point(60, 0), f.Point(65, 5), f.Point(80, 0)}, 18, 2, 0, 0});
         },
         "盛土 1 と盛土 2 の外形線が重なっています"},
        {"cuts that overlap",
         [](Input& f) {
             for (double x0 : {10.0, 15.0})
                 f.cuts.push_back(
                     Block{{f.Point(x0, 0), f.Point(x0 + 10, 0), f.Point(x0 + 10, -1), f.Point(x0, -1)}, 16});
         },
         "切土 1 と切土 2 の外形線が重なっています"},
        {"an overhanging cut",
         [](Input& f) {
             f.cuts.push_back(Block{{f.Point(10, 0), f.Point(20, 0), f.Point(20, -1), f.Point(12, -1), f.Point(12, -2),
                                     f.Point(20, -2), f.Point(20, -3), f.Point(10, -3)},
                                    16});
         },
         "切土 1 の外形線が張り出しています"},
        {"an edge of 1e6 m", [](Input& f) { f.layers.push_back(Clay(Poking(f, 200, 1e6), 17, 0)); },
         "土層 2 の外形線が交差しています"},
        {"an embankment edge of 1e7 m",
         [](Input& f) {
             f.blocks.push_back(Block{Poking(f, 200, 1e7), 19, 1, 0, 0});
         },
         "盛土 2 の外形線が交差しています"},
        {"beta 0, e-logP", [](Input& f) { f.layers[0].beta = 0; }, "土層 1 の沈下低減係数βが 0 です（e-logP法"},
        {"beta 2, Cc",
         [](Input& f) {
             f.layers[0].method = 1;
             f.layers[0].beta = 2;
         },
         "土層 1 の沈下低減係数βが 2 です（Cc法"},
        {"beta 1.667, Mv",
         [](Input& f) {
             f.layers[0].method = 2;
             f.layers[0].beta = 1.667;
         },
         "βが 1.667 です（Mv法"},
        {"beta 0, sand",
         [](Input& f) {
             f.layers[0].kind = 1;
             f.layers[0].method = 3;
             f.layers[0].beta = 0;
         },
         "βが 0 です（B.K.Hough法"},
    };
    EXPECT_EQ(EngineRun(Base(), 1).code, 0);
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        Input f = Base();
        c.change(f);
        EngineRun r(f, 1);
        EXPECT_EQ(r.code, 1);
        ASSERT_GE(r.msgs.Count(), 1u);
        EXPECT_NE(r.msgs.Last().text.find(c.message), std::string::npos) << r.msgs.Last().text;
        EXPECT_FALSE(r.Has("TK_DATA.PDT") || r.Has("tnk.csv") || r.Has("tnk1.csv"));
    }
    // What a layer reads nothing by keeps any factor; blocks that meet along
    // an edge or at a point overlap nothing.
    Input none = Base(kMethodNone);
    none.layers[0].beta = 0;
    EXPECT_EQ(EngineRun(none, 1).code, 0);
    Input stacked = Base();
    stacked.blocks.push_back(
        Block{{stacked.blocks[0].verts[1], stacked.Point(45, 6), stacked.Point(55, 6), stacked.blocks[0].verts[2]},
              19,
              2,
              60,
              30});
    stacked.blocks.push_back(
        Block{{stacked.blocks[0].verts[3], stacked.Point(80, 2), stacked.Point(90, 0)}, 18, 2, 60, 30});
    EngineRun s(stacked, 1);
    EXPECT_EQ(s.code, 0) << (s.msgs.Count() ? s.msgs.Last().text : "");
}

// A stage that removes load (a negative load, or a stage that lowers the
// stress) takes back no settlement: every layer keeps what it reached, in
// the final figure, the stage tables and the time tables, whatever the
// method and however much is removed.
TEST(EngineUnloading, AStageThatRemovesLoadTakesNoSettlementBack) {
    for (int method : {kMethodELogP, kMethodCc, kMethodMv}) {
        for (double removed : {-10.0, -40.0, -100.0, -1000.0}) {
            SCOPED_TRACE(std::to_string(method) + " " + std::to_string(removed));
            Input loaded = Base(method);
            loaded.strip_loads.push_back(Load{30, 20, 0, 80, 0, 1, 0, 10});
            Input unloaded = loaded;
            unloaded.strip_loads.push_back(Load{removed, 0, 0, 100, 0, 2, 100, 10});
            EngineRun a(loaded, 1), b(unloaded, 1);
            ASSERT_EQ(a.code, 0);
            ASSERT_EQ(b.code, 0) << (b.msgs.Count() ? b.msgs.Last().text : "");
            EXPECT_EQ(b.Bytes("tnk1.csv"), a.Bytes("tnk1.csv"));
            EXPECT_EQ(b.Bytes("tnk.csv"), a.Bytes("tnk.csv"));
            const auto& h = b.st->history;
            ASSERT_EQ(h.stage_count, 2);
            for (int i = 0; i < h.layer_count; ++i) EXPECT_EQ(h.stage_settlement[1][i], h.stage_settlement[0][i]);
            EXPECT_EQ(h.stage_total[2], h.stage_total[1]);
            const auto& tm = b.st->timing;
            for (int r = 0; r < tm.timing_unit_count; ++r) EXPECT_GE(tm.stage_unit_increment[1][r], 0);
            EXPECT_EQ(b.Bytes("TK_DT_01.PDT").find("-0.0"), std::string::npos);
        }
    }
}

// The reader looks at what CAL_TNK.DAT is before it reads it: missing, not
// a regular file, larger than any section; junk after data whose last line
// lacks its line end is junk where it begins, a cut last data line is cut.
TEST(EngineReaderFile, WhatTheFileIsIsToldBeforeItIsRead) {
    const std::vector<std::string> lines = Base().Lines();
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    const std::string junkLine = std::to_string(lines.size() + 1) + "行目: データの後に余分な内容があります。";
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing", [](const fs::path&) {},
         "条件ファイルが見つかりません。\rインストールが正常に行われていない可能性があります。"},
        {"a folder", [](const fs::path& d) { fs::create_directory(d / "CAL_TNK.DAT"); },
         "通常のファイルではありません"},
        {"a FIFO", [](const fs::path& d) { ASSERT_EQ(mkfifo((d / "CAL_TNK.DAT").c_str(), 0600), 0); },
         "通常のファイルではありません"},
        {"a gigabyte",
         [](const fs::path& d) {
             {
                 std::ofstream f(d / "CAL_TNK.DAT");
                 f << "junk";
             }
             fs::resize_file(d / "CAL_TNK.DAT", 1ull << 30);
         },
         "大きすぎます"},
        {"junk without line end",
         [&](const fs::path& d) {
             std::ofstream(d / "CAL_TNK.DAT", std::ios::binary) << kova::Utf8ToCp932(text) << "xyz";
         },
         junkLine},
        {"junk lines, the last cut",
         [&](const fs::path& d) {
             std::ofstream(d / "CAL_TNK.DAT", std::ios::binary) << kova::Utf8ToCp932(text) << "\r\n1,2,3\r\nxyz";
         },
         std::to_string(lines.size() + 2) + "行目: データの後に余分な内容があります。"},
        {"the last line cut",
         [&](const fs::path& d) {
             std::ofstream(d / "CAL_TNK.DAT", std::ios::binary) << kova::Utf8ToCp932(text.substr(0, text.size() - 2));
         },
         std::to_string(lines.size()) + "行目: ファイルが途中で終わっています。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EngineRun r({}, 1, c.make);
        EXPECT_EQ(r.code, 1);
        ASSERT_EQ(r.msgs.Count(), 1u);
        EXPECT_NE(r.msgs.Last().text.find(c.message), std::string::npos) << r.msgs.Last().text;
        EXPECT_FALSE(r.Has("TK_DATA.PDT") || r.Has("tnk.csv"));
    }
}
