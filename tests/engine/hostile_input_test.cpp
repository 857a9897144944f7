// Hostile calculation inputs: absurd magnitudes, integers that would wrap
// when narrowed, a file cut inside its last number, junk after the data.
// Each is refused with exit code 1 and a message naming the line and the
// item; none may end as a run that reports success.
#include <gtest/gtest.h>

#include <cmath>

#include "cal_builder.hpp"
#include "engine/finite.hpp"
#include "engine/report_common.hpp"
#include "rules/limits.hpp"

using namespace kova::engine;
using namespace enginetest;
using kova::Item;

namespace {

Input Section() {
    Input f;
    f.positions.push_back({60, "A"});
    Layer clay = Clay({f.Point(10, 0), f.Point(110, 0), f.Point(110, -4), f.Point(10, -4)}, 18, 0);
    clay.drain = 1;
    clay.d = 1.5;
    clay.dw = 0.05;
    clay.alpha = 1;
    clay.kk = 0.001;
    f.layers.push_back(clay);
    f.blocks.push_back(Block{{f.Point(20, 0), f.Point(30, 3), f.Point(50, 3), f.Point(60, 0)}, 19, 1, 0, 10});
    // Every load of the stage starts with the embankment, as the editor writes it.
    f.point_loads.push_back(Load{100, 90, 1, 0, 0, 1, 0, 10});
    f.line_loads.push_back(Load{30, 70, 0.5, 0, 0, 1, 0, 10});
    f.walls.push_back(Wall{65, 1, -25});
    return f;
}

std::string Text(const std::vector<std::string>& lines) {
    std::string t;
    for (const auto& l : lines) t += kova::Utf8ToCp932(l) + "\r\n";
    return t;
}

struct Refusal {
    int line;          // 1-based line the message must name
    std::string item;  // text the message must hold
};

void ExpectRefused(const std::string& bytes, const Refusal& want, const std::string& what) {
    EngineRun r({}, 1, [&](const std::filesystem::path& d) { kova::test::WriteBytes(d / "CAL_TNK.DAT", bytes); });
    EXPECT_EQ(r.code, 1) << what;
    ASSERT_EQ(r.msgs.Count(), 1u) << what;
    const std::string& msg = r.msgs.Last().text;
    EXPECT_NE(msg.find("の" + std::to_string(want.line) + "行目: "), std::string::npos) << what << ": " << msg;
    EXPECT_NE(msg.find(want.item), std::string::npos) << what << ": " << msg;
    EXPECT_FALSE(r.Has("tnk.csv") || r.Has("tnk1.csv")) << what;
}

// Index of the nth line (from 0) that holds label.
std::size_t LineOf(const std::vector<std::string>& lines, const std::string& label, int nth = 0) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(label) != std::string::npos && nth-- == 0) return i;
    ADD_FAILURE() << label;
    return 0;
}

}  // namespace

TEST(EngineHostileInput, TheSectionRuns) {
    EngineRun r(Section(), 1);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.msgs.Count(), 0u);
}

// Magnitudes that made intermediates overflow (r^5 and z^3 of the point-load
// formula, n^2 of the drain factors, gamma*z of the overburden).
TEST(EngineHostileInput, AbsurdMagnitudesAreRefusedNamingLineAndItem) {
    struct Case {
        const char* what;
        std::function<void(Input&)> edit;
        const char* label;  // the line that carries the value
        int nth;            // which of the lines with that label
        Item item;
    } cases[] = {
        {"point load at 1e103", [](Input& f) { f.point_loads[0].y1 = 1e103; }, "\"位置\"", 0, Item::Y},
        {"line load at 1e103", [](Input& f) { f.line_loads[0].y1 = 1e103; }, "\"位置\"", 1, Item::Y},
        {"load of 1e303", [](Input& f) { f.point_loads[0].load = 1e303; }, "\"荷重\"", 0, Item::PointLoad},
        {"drain spacing 1e300", [](Input& f) { f.layers[0].d = 1e300; }, "工法詳細", 0, Item::DrainSpacing},
        {"Kc/kw of 1e308", [](Input& f) { f.layers[0].kk = 1e308; }, "工法詳細", 0, Item::PermRatio},
        {"unit weight 1e308", [](Input& f) { f.layers[0].gamma = 1e308; }, "有効重量,Ｎ値", 0, Item::UnitWeight},
        {"embankment weight 1e308", [](Input& f) { f.blocks[0].gamma = 1e308; }, "\"有効重量\"", 0, Item::UnitWeight},
        {"boundary point at 1e154", [](Input& f) { f.points[1].second = 1e154; }, "境界点座標", 1, Item::Y},
        {"wall bottom -1e200", [](Input& f) { f.walls[0].bottom = -1e200; }, "位置、天端、下端", 0, Item::Y},
        {"Cv of 1e300", [](Input& f) { f.layers[0].cv.pts[0].second = 1e300; }, "LogCv-LogP\"", 0, Item::CvValue},
    };
    for (const Case& c : cases) {
        Input f = Section();
        c.edit(f);
        auto lines = f.Lines();
        std::size_t at = LineOf(lines, c.label, c.nth);
        ExpectRefused(Text(lines), {static_cast<int>(at) + 1, kova::LimitFileText(c.item)}, c.what);
    }
}

// Integers are checked against their allowed set before they are narrowed:
// 65537 no longer runs as 1, and unknown codes do not pass.
TEST(EngineHostileInput, IntegersOutsideTheirSetAreRefused) {
    struct Case {
        const char* label;
        std::string text;
        Item item;
    } cases[] = {
        {"沈下計算方法", "65537,\"沈下計算方法\"", Item::SettleMethod},
        {"沈下計算方法", "7,\"沈下計算方法\"", Item::SettleMethod},
        {"沈下計算方法", "-1,\"沈下計算方法\"", Item::SettleMethod},
        {"土質", "65536,\"土質\"", Item::SoilType},
        {"有効重量,Ｎ値", "18,65541,\"有効重量,Ｎ値\"", Item::NValue},
        {"排水条件", "65537,\"排水条件\"", Item::Drainage},
        {"促進工法", "3,\"促進工法\"", Item::DrainMethod},
        {"段階荷重番号", "1,-5,10,\"段階荷重番号,施工開始日,施工日数\"", Item::StageStartDay},
    };
    const auto base = Section().Lines();
    for (const Case& c : cases) {
        auto lines = base;
        std::size_t at = LineOf(lines, c.label);
        lines[at] = c.text;
        ExpectRefused(Text(lines), {static_cast<int>(at) + 1, kova::LimitFileText(c.item)}, c.text);
    }
    auto lines = base;
    lines[7] = "65537";  // the Cv pressure method
    ExpectRefused(Text(lines), {8, kova::LimitFileText(Item::CvPMethod)}, "condition 65537");
}

TEST(EngineHostileInput, TheFileMustEndWithItsLastLineAndNothingAfter) {
    const auto lines = Section().Lines();
    const std::string whole = Text(lines);
    const int last = static_cast<int>(lines.size());
    // Cut inside the last number: the wall bottom -25 would read as -2.
    std::string cut = Text(std::vector<std::string>(lines.begin(), lines.end() - 1)) + "65,1,-2";
    ExpectRefused(cut, {last, "途中で終わって"}, "cut in the last number");
    ExpectRefused(whole.substr(0, whole.size() - 1), {last, "途中で終わって"}, "cut before LF");
    ExpectRefused(whole + "junk\r\n", {last + 1, "余分な内容"}, "junk line");
    ExpectRefused(whole + "\r\n  \r\n0\r\n", {last + 3, "余分な内容"}, "junk after blank lines");
    // Blank lines after the data are harmless.
    EngineRun r({}, 1, [&](const std::filesystem::path& d) {
        kova::test::WriteBytes(d / "CAL_TNK.DAT", whole + "\r\n \t\r\n");
    });
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.msgs.Count(), 0u);
}

// Values within their limits whose intermediates still cannot be formed: a
// drain diameter of 1e-300 makes n^2 overflow in F(n). The run stops naming
// the position and the quantity; it never reports "nan" or "inf".
TEST(EngineHostileInput, NonFiniteIntermediatesStopTheRunNamingPositionAndQuantity) {
    Input f = Section();
    f.layers[0].dw = 1e-300;
    EngineRun r(f, 1);
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.msgs.Count(), 1u);
    EXPECT_EQ(r.msgs.Last().text,
              "計算位置 1「A」 (X=60.000): 第1圧密ユニットのドレーンの係数F(n)が計算できません（数値が有限ではありません）。");
    EXPECT_FALSE(r.Has("tnk1.csv"));
    EXPECT_FALSE(r.Has("TK_DT_01.PDT"));
}

// A NaN stress passes every comparison as "no load": the checks of a column
// look at the quantities themselves, not only at the settlement.
TEST(EngineHostileInput, ColumnChecksNameTheFirstQuantityThatIsNotFinite) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    ColumnWork w;
    w.column.count = 2;
    w.column.layer = {{4, 6}};
    EXPECT_EQ(profile_column_fault(w, 1.0, 0.0, 0.0), "");
    w.column.dp[1] = nan;
    EXPECT_EQ(profile_column_fault(w, 1.0, 0.0, 0.0), "土層 7 の増加応力");
    w.column.p0[0] = -inf;
    EXPECT_EQ(column_fault(w.column, w.results), "土層 5 の有効土被り圧");
    w = ColumnWork{};
    w.results.elogp[0].e2 = nan;
    w.column.count = 1;
    EXPECT_EQ(column_fault(w.column, w.results), "土層 1 の圧密後の間隙比");
    EXPECT_EQ(profile_column_fault(ColumnWork{}, 1.0, inf, 0.0), "切土による除荷重");
    EXPECT_EQ(profile_column_fault(ColumnWork{}, 1.0, 0.0, nan), "沈下量");
    UnitState units;
    units.unit_count = 3;
    units.unit_drain_length[2] = inf;
    EXPECT_EQ(units_fault(units), "第3圧密ユニットの排水長");
    // Nothing that is not finite is ever printed.
    EXPECT_THROW(real_text("%7.3lf", nan), NonFiniteReportValue);
    EXPECT_THROW(real_text("%7.3lf", -inf), NonFiniteReportValue);
    EXPECT_EQ(real_text("%7.3lf", -0.0), "  0.000");
}

// The counts the file repeats must agree: a copy that differs means a
// damaged file, not another section.
TEST(EngineHostileInput, RepeatedCountsMustAgree) {
    const auto base = Section().Lines();
    auto lines = base;
    std::size_t second = LineOf(lines, "\"土層数\"", 1);
    lines[second] = "2,\"土層数\"";
    ExpectRefused(Text(lines), {static_cast<int>(second) + 1, "土層数が前の土層数と異なります。"}, "layer count");
    lines = base;
    std::size_t sand = LineOf(lines, "BKHough曲線数");
    lines[sand] = "4,\"BKHough曲線数\"";
    ExpectRefused(Text(lines), {static_cast<int>(sand) + 1, "曲線"}, "sand curve count");
}
