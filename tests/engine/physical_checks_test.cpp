// Inputs that are well formed but cannot describe a consolidation are
// refused with exit code 1 before any file is written, naming the layer or
// block and what is wrong; what the engine computes anyway (refused drains,
// a stage whose loads start on different days, a position without soil) is
// told once.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cal_builder.hpp"
#include "engine/checks.hpp"
#include "tests/engine/identity_variants.hpp"
#include "testing/fakes.hpp"
#include "textio/cp932.hpp"

using namespace enginetest;

namespace {

// 4 m of clay on 10..110 (and 3 m more below when `two`) under a 40 kN/m2
// strip on 40..80, a position at 60.
Input Section(int method = 0, bool two = false) {
    Input f;
    const int a = f.Point(10, 0), b = f.Point(110, 0), c = f.Point(110, -4), d = f.Point(10, -4);
    f.layers.push_back(Clay({a, b, c, d}, 18, method));
    if (two) f.layers.push_back(Clay({d, c, f.Point(110, -7), f.Point(10, -7)}, 17, method));
    f.strip_loads.push_back(Load{40, 40, 0, 80, 0, 1, 0, 0});
    f.positions.push_back({60, "A"});
    return f;
}

std::string All(const kova::RecordingMessages& m) {
    std::string s;
    for (const auto& x : m.shown) s += x.text + "\n";
    return s;
}

// Refused with the one message `text` (or, not `whole`, a message holding
// it), and no result written; checks of the input come before any report.
void ExpectRefused(const Input& f, const std::string& text, bool whole = true, bool beforeReports = true) {
    EngineRun r(f, 1);
    EXPECT_EQ(r.code, 1) << text;
    ASSERT_EQ(r.msgs.Count(), 1u) << All(r.msgs);
    if (whole) {
        EXPECT_EQ(r.msgs.Last().text, text);
    } else {
        EXPECT_NE(r.msgs.Last().text.find(text), std::string::npos) << r.msgs.Last().text;
    }
    EXPECT_FALSE(r.Has("tnk.csv") || r.Has("tnk1.csv") || r.Has("TK_DT_01.PDT")) << text;
    if (beforeReports) {
        EXPECT_FALSE(r.Has("TK_DATA.PDT")) << text;
    }
}

void ExpectRuns(const Input& f, const std::string& what) {
    EngineRun r(f, 1);
    EXPECT_EQ(r.code, 0) << what << ": " << All(r.msgs);
    EXPECT_EQ(r.msgs.Count(), 0u) << what << ": " << All(r.msgs);
}

std::vector<std::string> StoredLines(const std::string& name) {
    std::string text = kova::Cp932ToUtf8(kova::test::ReadBytes(std::filesystem::path(KOVA_TEST_DATA) / name));
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

}  // namespace

TEST(EngineCurveChecks, EveryMethodNeedsThePointsItReads) {
    struct Case {
        int method;
        std::vector<std::pair<double, double>> elogp, mv;
        const char* message;
    };
    const std::vector<std::pair<double, double>> e3{{1, 2.0}, {10, 1.6}, {100, 1.2}}, m2{{1, 0.02}, {100, 0.002}};
    const Case refused[] = {
        {0, {}, m2, "土層 1 のe-logP曲線に点がありません（e-logP法には2点以上必要です）。"},
        {0, {{1, 2.0}}, m2, "土層 1 のe-logP曲線の点が1点しかありません（e-logP法には2点以上必要です）。"},
        {1, {}, m2, "土層 1 のe-logP曲線に点がありません（Cc法には1点以上必要です）。"},
        {2, e3, {}, "土層 1 のlogMv-logP曲線に点がありません（Mv法には1点以上必要です）。"},
    };
    for (const Case& c : refused) {
        Input f = Section(c.method);
        f.layers[0].elogp.pts = c.elogp;
        f.layers[0].mv.pts = c.mv;
        ExpectRefused(f, c.message);
    }
    // What a method does not read may be empty.
    Input cc = Section(1);
    cc.layers[0].elogp.pts = {{1, 2.0}};
    cc.layers[0].mv.pts = {};
    ExpectRuns(cc, "Cc with one e-logP point");
    Input mv = Section(2);
    mv.layers[0].elogp.pts = {};
    ExpectRuns(mv, "Mv without e-logP curve");
    Input none = Section(4);
    none.layers[0].elogp.pts = none.layers[0].mv.pts = {};
    ExpectRuns(none, "non-consolidating");
    // A sand layer computes nothing without the immediate settlement of sand.
    Input sand = Section(0);
    sand.layers[0].kind = 1;
    sand.layers[0].elogp.pts = {};
    sand.sand = 0;
    ExpectRuns(sand, "sand without its flag");
}

TEST(EngineCurveChecks, PressuresMustRiseAndVoidRatiosMustNotRise) {
    struct Case {
        int method;
        std::vector<std::pair<double, double>> pts;
        const char* message;
    };
    const Case refused[] = {
        {0, {{0, 2.0}, {0, 1.6}}, "土層 1 のe-logP曲線の第1点の圧力が正ではありません。"},
        {1, {{0, 2.0}}, "土層 1 のe-logP曲線の第1点の圧力が正ではありません。"},
        {0, {{1, 2.0}, {10, 1.6}, {10, 1.5}},
         "土層 1 のe-logP曲線の第3点の圧力が前の点の圧力より大きくありません（圧力は点ごとに増加させてください）。"},
        {0, {{10, 1.6}, {1, 2.0}},
         "土層 1 のe-logP曲線の第2点の圧力が前の点の圧力より大きくありません（圧力は点ごとに増加させてください）。"},
        {0, {{1, 1.2}, {10, 1.6}},
         "土層 1 のe-logP曲線の第2点の間隙比が前の点より大きくなっています（圧力が増すと間隙比は増えません）。"},
        {1, {{1, 1.2}, {10, 1.25}},
         "土層 1 のe-logP曲線の第2点の間隙比が前の点より大きくなっています（圧力が増すと間隙比は増えません）。"},
        {2, {{10, 0.02}, {1, 0.002}},
         "土層 1 のlogMv-logP曲線の第2点の圧力が前の点の圧力より大きくありません（圧力は点ごとに増加させてください）。"},
    };
    for (const Case& c : refused) {
        Input f = Section(c.method);
        (c.method == 2 ? f.layers[0].mv : f.layers[0].elogp).pts = c.pts;
        ExpectRefused(f, c.message);
    }
    // A flat stretch of an e-logP curve is no heave.
    Input flat = Section(0);
    flat.layers[0].elogp.pts = {{1, 2.0}, {10, 2.0}, {100, 1.2}};
    ExpectRuns(flat, "flat stretch");
    // Every faulty layer is named, in layer order.
    Input both = Section(0, true);
    both.layers[0].elogp.pts = {};
    both.layers[1].elogp.pts = {{1, 1.2}, {10, 1.6}};
    EngineRun r(both, 1);
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.msgs.Count(), 2u);
    EXPECT_EQ(r.msgs.shown[0].text.rfind("土層 1 の", 0), 0u);
    EXPECT_EQ(r.msgs.shown[1].text.rfind("土層 2 の", 0), 0u);
}

// The stored full section (e-logP, Cc, Mv and B.K.Hough layers, drains, two
// stages) with the e-logP curve of its e-logP layer emptied used to give
// that layer no settlement, exit 0 and no word.
TEST(EngineCurveChecks, StoredSectionWithOneCurveEmptied) {
    std::vector<std::string> lines = StoredLines("engine_reports/full/CAL_TNK.DAT");
    std::size_t head = 0;
    while (head < lines.size() && lines[head].find("e-LogP曲線要素数") == std::string::npos) ++head;
    ASSERT_LT(head, lines.size());
    ASSERT_EQ(lines[head], "1,3,\"e-LogP曲線要素数\"");
    lines[head] = "1,0,\"e-LogP曲線要素数\"";
    lines.erase(lines.begin() + static_cast<long>(head) + 1, lines.begin() + static_cast<long>(head) + 4);
    EngineRun r(lines, 1);
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.msgs.Count(), 1u) << All(r.msgs);
    EXPECT_EQ(r.msgs.Last().text, "土層 1 のe-logP曲線に点がありません（e-logP法には2点以上必要です）。");
    EXPECT_FALSE(r.Has("TK_DATA.PDT") || r.Has("tnk.csv") || r.Has("tnk1.csv"));
}

TEST(EngineThicknessCheck, ALayerNeverSettlesItsThickness) {
    // Peat-like: Cc 8, e0 about 8.1 at P0 = 6 kN/m2, 6 m thick, under 200
    // kN/m2: 8 / 9.07 x 6 x log10(206 / 6) = 8.1 m.
    Input peat;
    peat.layers.push_back(Clay({peat.Point(0, 0), peat.Point(120, 0), peat.Point(120, -6), peat.Point(0, -6)}, 2, 1));
    peat.layers[0].cc = 8;
    peat.layers[0].elogp.pts = {{0.1, 8.8}, {100, 6.0}};
    peat.strip_loads.push_back(Load{200, -10, 0, 130, 0, 1, 0, 0});
    ExpectRefused(peat, "m が層厚 6.000 m 以上になります。土質定数を確認してください。", false, false);
    // Without positions the profile refuses it all the same.
    {
        EngineRun r(peat, 1);
        ASSERT_EQ(r.msgs.Count(), 1u);
        EXPECT_EQ(r.msgs.Last().text.rfind("沈下量分布 X=", 0), 0u) << r.msgs.Last().text;
        EXPECT_NE(r.msgs.Last().text.find(": 土層 1 の沈下量 "), std::string::npos) << r.msgs.Last().text;
    }
    // A settlement factor of 100 on an ordinary clay is refused as a factor.
    Input beta = Section(0);
    beta.layers[0].beta = 100;
    ExpectRefused(beta, "土層 1 の沈下低減係数βが 100 です（e-logP法では0より大きく1以下にしてください）。");
    // A later stage takes the load back: the layer keeps what the first
    // stage settled (no rebound), so the profile, stage by stage, refuses it
    // as the position would.
    Input staged = peat;
    staged.strip_loads.push_back(Load{-200, -10, 0, 130, 0, 2, 0, 0});
    staged.positions.push_back({60, "A"});
    EngineRun r(staged, 1);
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.msgs.Count(), 1u);
    EXPECT_EQ(r.msgs.Last().text.rfind("沈下量分布 X=", 0), 0u) << r.msgs.Last().text;
    EXPECT_FALSE(r.Has("tnk.csv"));
    // Threads change nothing.
    EngineRun p(staged, 4);
    EXPECT_EQ(p.code, 1);
    ASSERT_EQ(p.msgs.Count(), 1u);
    EXPECT_EQ(p.msgs.Last().text, r.msgs.Last().text);
}

TEST(EngineNoSoil, APositionOutsideTheSectionIsToldAndComputesNothing) {
    Input f = Section(0);
    f.positions.push_back({200, "B"});
    f.positions.push_back({70, "C"});
    EngineRun r(f, 1);
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.msgs.Count(), 1u) << All(r.msgs);
    EXPECT_EQ(r.msgs.Last().text, "計算位置 2「B」 (X=200.000): 土層がありません。この位置の沈下量は計算されません。");
    const std::string rows = r.Bytes("tnk1.csv");
    EXPECT_NE(rows.find("\r\n200.000000,-9999.990000,0.000000\r\n70.000000,"), std::string::npos) << rows;
    EngineRun p(f, 4);
    EXPECT_EQ(p.msgs.Count(), 1u);
    EXPECT_EQ(p.Bytes("tnk1.csv"), rows);
}

TEST(EngineOutlineCheck, AFoldedOutlineIsNamedAndStopsTheRun) {
    // The second layer's bottom right point moved above the top of the
    // first: its outline crosses itself.
    Input f = Section(0, true);
    f.points[f.layers[1].verts[2] - 1] = {110, 1};
    ExpectRefused(f, "土層 2 の外形線が交差しています（構成点が折り返しています）。構成点の位置を確認してください。");
    // A cut block likewise, while cuts take part.
    Input cut = Section(0);
    cut.cuts.push_back(Block{{cut.Point(50, 0), cut.Point(70, 1), cut.Point(70, 0), cut.Point(50, 1)}, 18});
    ExpectRefused(cut, "切土 1 の外形線が交差しています", false);
    cut.cut = 0;
    ExpectRuns(cut, "cuts switched off");
    // The first vertex repeated at the end, and an outline that meets
    // itself at a point without crossing, are no fold.
    Input closed = Section(0);
    closed.layers[0].verts.push_back(closed.layers[0].verts[0]);
    ExpectRuns(closed, "closing vertex repeated");
    Input pinch = Section(0);
    const int m = pinch.Point(60, 0), q = pinch.Point(60, -4);
    pinch.layers[0].verts = {pinch.layers[0].verts[0], m, pinch.layers[0].verts[1], pinch.layers[0].verts[2], q,
                             pinch.layers[0].verts[3]};
    ExpectRuns(pinch, "points on straight edges");
}

TEST(EngineOncePerRun, RefusedDrainsToldOncePerLayerSayingWhatIsWrong) {
    Input f = Section(0, true);
    for (double x : {20.0, 40.0, 80.0}) f.positions.push_back({x, "P"});
    f.layers[0].drain = 1;
    f.layers[0].d = 0.04;
    f.layers[0].dw = 0.05;
    f.layers[1].drain = 2;
    f.layers[1].d = 0;
    f.layers[1].dw = 0.05;
    for (int threads : {1, 4}) {
        EngineRun r(f, threads);
        EXPECT_EQ(r.code, 0);
        ASSERT_EQ(r.msgs.Count(), 2u) << All(r.msgs);
        EXPECT_EQ(r.msgs.shown[0].text,
                  "土層 1 のドレーン: 打設間隔dがドレーン径dwに対して小さすぎます（有効径de/dwが1以下です）。\r"
                  "この土層はドレーンなしで計算します。");
        EXPECT_EQ(r.msgs.shown[1].text, "土層 2 のドレーン: 打設間隔dが正ではありません。\rこの土層はドレーンなしで計算します。");
        EXPECT_EQ(r.msgs.shown[1].caption, "ドレーン");
    }
}

TEST(EngineOncePerRun, ConflictingStartDaysOfAStageToldOnce) {
    Input f = Section(0);
    for (double x : {20.0, 40.0, 80.0}) f.positions.push_back({x, "P"});
    f.strip_loads[0].start = 10;
    f.blocks.push_back(Block{{f.Point(45, 0), f.Point(50, 2), f.Point(70, 2), f.Point(75, 0)}, 19, 1, 0, 30});
    // Stage 2's loads agree.
    f.point_loads.push_back(Load{50, 60, 0, 0, 0, 2, 100, 20});
    f.line_loads.push_back(Load{10, 60, 0, 0, 0, 2, 100, 20});
    EngineRun r(f, 1);
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.msgs.Count(), 1u) << All(r.msgs);
    EXPECT_EQ(r.msgs.Last().text, "第1段階の荷重の施工開始日・施工日数が荷重ごとに異なります。\r"
                                  "最後の荷重の値（施工開始日 10、施工日数 0）で計算します。");
    // The stage is computed with the last load's values, as before.
    EXPECT_EQ(r.st->timing.stage_start[0], 10);
    EXPECT_EQ(r.st->timing.stage_days[0], 0);
}

// What each method reads is checked, and only that: one table of layers,
// each either refused with the message naming the layer, the curve and the
// fault, or computed ("").
TEST(EngineReads, EveryMethodIsRefusedForWhatItReadsAndForNothingElse) {
    using Pts = std::vector<std::pair<double, double>>;
    const Pts zeros{{1, 0}, {10, 0}, {100, 0}};
    struct Case {
        const char* what;
        int method, kind, n;
        double cc;
        Pts elogp, mv, cv;
        std::vector<Pts> sand;  // curves 1..5 when not empty
        const char* message;
    };
    const Pts e3{{1, 2.0}, {10, 1.6}, {100, 1.2}}, m2{{1, 0.02}, {100, 0.002}}, c1{{1, 100}};
    const Pts sand{{10, 0.9}, {1000, 0.7}};
    auto sands = [&](int bad, const Pts& curve) {
        std::vector<Pts> s(5, sand);
        s[bad - 1] = curve;
        return s;
    };
    const Case cases[] = {
        {"e-logP of zeros", 0, 0, 5, 0.5, zeros, m2, c1, {}, "土層 1 のe-logP曲線の第1点の間隙比が正ではありません。"},
        {"Mv of zeros", 2, 0, 5, 0.5, e3, {{1, 0}, {100, 0}}, c1, {},
         "土層 1 のlogMv-logP曲線の第1点の体積圧縮係数Mvが正ではありません。"},
        {"Cc of 0", 1, 0, 5, 0, e3, m2, c1, {}, "土層 1 の圧縮指数Ccが正ではありません（Cc法には正の圧縮指数が必要です）。"},
        {"Cc with e0 of 0", 1, 0, 5, 0.5, {{1, 0}}, m2, c1, {}, "土層 1 のe-logP曲線の第1点の間隙比が正ではありません。"},
        {"Cv of 0", 0, 0, 5, 0.5, e3, m2, {{1, 0}}, {}, "土層 1 のlogCv-logP曲線の第1点の圧密係数Cvが正ではありません。"},
        {"sand: 6.83 for 0.683", 3, 1, 5, 0.5, {}, {}, {}, sands(2, {{10, 0.9}, {200, 6.83}, {1000, 0.6}}),
         "土層 1 のB.K.Hough曲線 2（N値 5）の第2点の間隙比が前の点より大きくなっています（圧力が増すと間隙比は増えません）。"},
        {"sand: a void ratio of 0", 3, 1, 60, 0.5, {}, {}, {}, sands(5, {{10, 0.9}, {200, 0}, {1000, 0.6}}),
         "土層 1 のB.K.Hough曲線 5（N値 60）の第2点の間隙比が正ではありません。"},
        {"sand: pressure 0", 3, 1, 4, 0.5, {}, {}, {}, sands(1, {{0, 0.9}, {1000, 0.7}}),
         "土層 1 のB.K.Hough曲線 1（N値 4）の第1点の圧力が正ではありません。"},
        {"sand: one point", 3, 1, 20, 0.5, {}, {}, {}, sands(3, {{10, 0.9}}),
         "土層 1 のB.K.Hough曲線 3（N値 20）の点が1点しかありません（B.K.Hough法には2点以上必要です）。"},
        {"clay by B.K.Hough reads its Cv too", 3, 0, 5, 0.5, {}, {}, {{1, 0}}, {},
         "土層 1 のlogCv-logP曲線の第1点の圧密係数Cvが正ではありません。"},
        // What a method does not read may be anything.
        {"Mv ignores e-logP and Cc", 2, 0, 5, 0, zeros, m2, c1, {}, ""},
        {"e-logP ignores Mv and Cc", 0, 0, 5, 0, e3, {{1, 0}}, c1, {}, ""},
        {"N 5 reads curve 2, not 5", 3, 1, 5, 0, {}, {}, {}, sands(5, {{10, 0.7}, {1000, 0.9}}), ""},
        {"sand does not consolidate: no Cv", 3, 1, 5, 0, zeros, zeros, zeros, {}, ""},
        {"non-consolidating reads nothing", 4, 0, 5, 0, zeros, zeros, zeros, sands(1, {{10, 0.7}, {1000, 0.9}}), ""},
    };
    for (const Case& c : cases) {
        Input f = Section(c.method);
        Layer& l = f.layers[0];
        l.kind = c.kind;
        l.n = c.n;
        l.cc = c.cc;
        l.elogp.pts = c.elogp;
        l.mv.pts = c.mv;
        l.cv.pts = c.cv;
        for (std::size_t d = 0; d < c.sand.size(); ++d) f.sand_curves[d].pts = c.sand[d];
        if (*c.message)
            ExpectRefused(f, c.message);
        else
            ExpectRuns(f, c.what);
    }
    // Without the immediate settlement of sand no sand curve is read.
    Input off = Section(3);
    off.layers[0].kind = 1;
    off.sand = 0;
    off.sand_curves[1].pts = {{10, 0.7}, {1000, 0.9}};
    ExpectRuns(off, "sand switched off");
}

// A layer that rises while its load increases stops the run like one that
// settles its thickness; one whose load does not increase is left as it is.
TEST(EngineThicknessCheck, ALayerThatRisesUnderLoadIsNamed) {
    kova::engine::CalcInput in;
    in.soil_count = 1;
    kova::engine::SoilColumn col;
    col.count = 1;
    col.top[0] = 0;
    col.bottom[0] = -4;
    kova::engine::LayerResults res;
    res.elogp[0].settlement = -0.25;
    col.dp[0] = 30;
    EXPECT_EQ(kova::engine::layer_settlement_fault(in, col, res, 10),
              "土層 1 の沈下量が -0.250 m と負になります（荷重が増すのに隆起します）。土質定数を確認してください。");
    EXPECT_EQ(kova::engine::layer_settlement_fault(in, col, res, 30), "");  // a cut took as much away
    res.elogp[0].settlement = 0;
    EXPECT_EQ(kova::engine::layer_settlement_fault(in, col, res, 10), "");
}

// Two soil layers that share ground are named together, whichever way
// they overlap; layers that only meet along an edge or side by side run.
TEST(EngineOutlineCheck, OverlappingLayersAreNamed) {
    const std::string overlap =
        "土層 1 と土層 2 の外形線が重なっています（同じ地盤が二つの土層に含まれます）。構成点の位置を確認してください。";
    auto withSecond = [](std::vector<std::pair<double, double>> corners) {
        Input f = Section(0);
        std::vector<int> v;
        for (auto [x, y] : corners) v.push_back(f.Point(x, y));
        f.layers.push_back(Clay(v, 17, 0));
        return f;
    };
    // Reaching 2 m into the first, inside it, the same outline again, and
    // a second layer wider than the first that holds it.
    ExpectRefused(withSecond({{10, -2}, {110, -2}, {110, -7}, {10, -7}}), overlap);
    ExpectRefused(withSecond({{40, -1}, {60, -1}, {60, -3}, {40, -3}}), overlap);
    ExpectRefused(withSecond({{10, 0}, {110, 0}, {110, -4}, {10, -4}}), overlap);
    ExpectRefused(withSecond({{0, 1}, {120, 1}, {120, -9}, {0, -9}}), overlap);
    ExpectRuns(withSecond({{10, -4}, {110, -4}, {110, -7}, {10, -7}}), "one below the other");
    ExpectRuns(withSecond({{110, 0}, {150, 0}, {150, -4}, {110, -4}}), "side by side");
}

// The column and the strips take an outline either way round: every
// result a section gives (tables, position reports, profile drawings) is
// the same with each outline reversed.
TEST(EngineOutlineCheck, EveryOutlineMayRunEitherWay) {
    int compared = 0;
    for (int n = 0; n < 14; ++n) {
        Input f = IdentityVariant(n);
        Input r = f;
        for (auto* blocks : {&r.blocks, &r.cuts})
            for (Block& b : *blocks) std::reverse(b.verts.begin(), b.verts.end());
        for (Layer& l : r.layers) std::reverse(l.verts.begin(), l.verts.end());
        EngineRun a(f, 1), b(r, 1);
        ASSERT_EQ(a.code, 0) << n << ": " << All(a.msgs);
        EXPECT_EQ(b.code, 0) << n << ": " << All(b.msgs);
        for (const auto& e : std::filesystem::directory_iterator(a.dir.path)) {
            const std::string name = e.path().filename().string();
            // The drawings of the section trace each outline the way it runs.
            const bool results = name.rfind("tnk", 0) == 0 || name.rfind("TK_DT_", 0) == 0 || name.rfind("TNJ_H_", 0) == 0;
            if (!results) continue;
            ++compared;
            EXPECT_TRUE(a.Bytes(name) == b.Bytes(name)) << n << ": " << name;
        }
    }
    EXPECT_GT(compared, 14 * 4);
}
