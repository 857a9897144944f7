#include "predict/commands/graphs.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "predict/hyperbolic.hpp"
#include "tests/predict/predict_test_util.hpp"
#include "tests/support/recording_picture.hpp"

using namespace kova;
using namespace kova::predict;
using kova::predict::test::MakeStation;
using kova::predict::test::Option;
using kova::predict::test::PartStation;
using kova::test::DrawOp;
using kova::test::RecordingPicture;

namespace {

constexpr double kW = 7155, kH = 3285;  // design size of the time graph

// The worked station fitted with `settings`.
StationRecord Fitted(const ObsSettings& settings, StationRecord s = PartStation()) {
    PredictionOutcome out = ComputePrediction(s, settings);
    EXPECT_FALSE(out.message.has_value());
    static_cast<StationResults&>(s) = out.results;
    return s;
}

// Tick lines of the time axis (x, 300) - (x, 350), by their x.
std::vector<double> TimeTicks(const RecordingPicture& p) {
    std::vector<double> xs;
    for (const DrawOp& l : p.Lines())
        if (l.y1 == 300 && l.y2 == 350) xs.push_back(l.x1);
    return xs;
}

// Labels of the settlement ticks, drawn at x 300.
// The labels of the settlement axis: at 300, or further left so that they
// end before their ticks.
std::vector<std::string> SettlementLabels(const RecordingPicture& p) {
    std::vector<std::string> r;
    for (const DrawOp& t : p.Texts())
        if (t.x1 <= 300 && TextBox(p.FontPoints(), t.x1, t.y1, t.text).right <= 650) r.push_back(t.text);
    return r;
}

int CountColour(const std::vector<DrawOp>& ops, int palette) {
    int n = 0;
    for (const DrawOp& op : ops)
        if (op.colour == PaletteColour(palette)) ++n;
    return n;
}

TEST(TimeGraph, AxisMaximaOutsideTheirRangeDrawTheAxesOnly) {
    const StationRecord s = Fitted(Option(3));
    const struct {
        double n, t;
    } cases[] = {{0, 1.2}, {-5, 1}, {30001, 1}, {500, 0}, {500, 30000.5}, {NAN, 1}, {500, INFINITY}};
    for (const auto& c : cases) {
        RecordingPicture p(kW, kH);
        GraphOutcome out = DrawTimeGraph(p, Option(3), s, {c.n, c.t, 1});
        SCOPED_TRACE(testing::Message() << c.n << " " << c.t);
        EXPECT_TRUE(out.ok);
        EXPECT_FALSE(out.unitCaption.has_value());
        ASSERT_EQ(p.Lines().size(), 2u);
        EXPECT_EQ(p.Lines()[0].x2, kW - 500);
        EXPECT_EQ(p.Lines()[1].y2, kH - 100);
        EXPECT_TRUE(p.Circles().empty());
    }
}

TEST(TimeGraph, TickSteps) {
    StationRecord empty;
    const struct {
        double n, t;
        std::vector<std::string> labels;
        std::size_t dayTicks;
    } cases[] = {
        // A label at the axis end lies under the maximum's box: the box
        // shows that value.
        {500, 1, {" 0 ", " 0.2 ", " 0.4 ", " 0.6 ", " 0.8 "}, 6},
        {500, 1.2, {" 0 ", " 0.4 ", " 0.8 "}, 6},  // 3 x 0.4 lies above 1.2
        {30000, 2, {" 0 ", " 0.4 ", " 0.8 ", " 1.2 ", " 1.6 "}, 31},
        {100, 30000, {}, 11},
    };
    for (const auto& c : cases) {
        RecordingPicture p(kW, kH);
        GraphOutcome out = DrawTimeGraph(p, Option(3), empty, {c.n, c.t, 0});
        SCOPED_TRACE(testing::Message() << c.n << " " << c.t);
        EXPECT_EQ(out.unitCaption, std::optional<std::string>("（日）"));
        if (!c.labels.empty()) {
            EXPECT_EQ(SettlementLabels(p), c.labels);
        }
        const std::vector<double> ticks = TimeTicks(p);
        ASSERT_EQ(ticks.size(), c.dayTicks);
        EXPECT_DOUBLE_EQ(ticks.front(), 700);
        EXPECT_NEAR(ticks.back(), kW - 500, 1e-6);  // N ends on the axis end
    }
    // T = 30000 m by 1 m: the tick loop stops at its cap of 1000; ticks
    // that close keep only the labels that do not cover each other.
    RecordingPicture p(kW, kH);
    DrawTimeGraph(p, Option(3), empty, {100, 30000, 0});
    std::size_t ticks = 0;
    for (const DrawOp& l : p.Lines()) ticks += l.x1 == 700 && l.x2 == 650;
    EXPECT_EQ(ticks, 1000u);
    EXPECT_GE(SettlementLabels(p).size(), 1u);
    EXPECT_LT(SettlementLabels(p).size(), 30u);
}

TEST(TimeGraph, YearMonthTicks) {
    ObsSettings set = Option(3);
    set.TimeAxisMode = 1;
    {  // no observation: no ticks, the caption still says years
        RecordingPicture p(kW, kH);
        GraphOutcome out = DrawTimeGraph(p, set, StationRecord{}, {500, 1.2, 0});
        EXPECT_EQ(out.unitCaption, std::optional<std::string>("（年）"));
        EXPECT_TRUE(TimeTicks(p).empty());
    }
    auto station = [](int y, int m, int d) {
        StationRecord s;
        s.ResizeRows(1);
        s.ObsDate[1] = *Date::FromYmd(y, m, d);
        return s;
    };
    {  // on 1 January: the first tick is the origin and carries the year
        RecordingPicture p(kW, kH);
        DrawTimeGraph(p, set, station(2003, 1, 1), {500, 1.2, 0});
        const std::vector<double> ticks = TimeTicks(p);
        ASSERT_EQ(ticks.size(), 17u);  // 2003-01 .. 2004-05 (day 486)
        EXPECT_EQ(ticks[0], 700);
        EXPECT_EQ(p.Texts().back().text, "04");
        EXPECT_EQ(p.Texts().back().x1, 700 + 365 * (kW - 1200) / 500 - 75);
    }
    {  // mid-March: April to December unlabelled, then "04" on 1 January
        RecordingPicture p(kW, kH);
        DrawTimeGraph(p, set, station(2003, 3, 15), {500, 1.2, 0});
        const std::vector<double> ticks = TimeTicks(p);
        const double xs = (kW - 1200) / 500;
        ASSERT_GE(ticks.size(), 10u);
        EXPECT_DOUBLE_EQ(ticks[0], 700 + 17 * xs);   // 1 April
        EXPECT_DOUBLE_EQ(ticks[9], 700 + 292 * xs);  // 1 January 2004
        std::vector<std::string> years;
        for (const DrawOp& t : p.Texts())
            if (t.y1 == 100) years.push_back(t.text);
        EXPECT_EQ(years, std::vector<std::string>{"04"});
    }
    {  // the year loop ends at its cap, and at the last year a date holds
        RecordingPicture p(kW, kH);
        DrawTimeGraph(p, set, station(9990, 6, 1), {30000, 1.2, 0});
        EXPECT_LE(TimeTicks(p).size(), 12u * 10);
    }
}

TEST(TimeGraph, ObservationsMarksAndCrossHair) {
    StationRecord s = Fitted(Option(3), MakeStation({{0, 0}, {10, 0.5, 1}, {30, 0.75}, {90, 0.9}}, 1, 4));
    const struct {
        int k, sa, saPrime;
        bool crossHair;
        int saMarks;
    } cases[] = {{2, 1, 4, true, 2}, {0, 1, 4, false, 2}, {5, 0, 4, false, 1}, {4, 5, 3, true, 1}};
    for (const auto& c : cases) {
        s.Sa = static_cast<std::int16_t>(c.sa);
        s.SaPrime = static_cast<std::int16_t>(c.saPrime);
        RecordingPicture p(kW, kH);
        ASSERT_TRUE(DrawTimeGraph(p, Option(3), s, {500, 1.2, c.k}).ok);
        SCOPED_TRACE(c.k);
        std::vector<DrawOp> obs;
        for (const DrawOp& circle : p.Circles())
            if (circle.radius == 40) obs.push_back(circle);
        ASSERT_EQ(obs.size(), 4u);
        EXPECT_EQ(CountColour(obs, 8), 1);  // SW = 1 is grey
        EXPECT_EQ(obs[1].colour, PaletteColour(8));
        EXPECT_DOUBLE_EQ(obs[3].x1, 700 + 90 * (kW - 1200) / 500);
        EXPECT_DOUBLE_EQ(obs[3].y1, 350 + 0.9 * (kH - 450) / 1.2);
        int dottedBlue = 0;
        for (const DrawOp& l : p.Lines())
            if (l.style == LineStyle::Dotted && l.colour == PaletteColour(9)) ++dottedBlue;
        EXPECT_EQ(dottedBlue, c.crossHair ? 2 : 0);
        const std::vector<std::string> texts = p.TextStrings();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Sa") + std::count(texts.begin(), texts.end(), "Sa'"),
                  c.saMarks);
        if (c.k == 2) {
            EXPECT_NE(std::find(texts.begin(), texts.end(), "2003/04/25"), texts.end());
            EXPECT_NE(std::find(texts.begin(), texts.end(), " 0.5 "), texts.end());
        }
    }
}

TEST(TimeGraph, PredictedCurveAndTenthMarks) {
    const StationRecord s = Fitted(Option(3));
    ASSERT_EQ(s.LastDay, 191);
    RecordingPicture p(kW, kH);
    ASSERT_TRUE(DrawTimeGraph(p, Option(3), s, {500, 1.2, 0}).ok);
    int dots = 0, marks = 0;
    for (const DrawOp& c : p.Circles()) {
        if (c.radius == 10) ++dots;
        if (c.radius == 50) {
            ++marks;
            EXPECT_TRUE(c.filled);
            EXPECT_EQ(c.fill, PaletteColour(4));
            EXPECT_EQ(c.colour, PaletteColour(12));
        }
    }
    // Days 0..191, one circle each; P(1) = 1/11 < 10 % and P(2) = 1/6: from
    // day 2 on each day takes a mark until the threshold passes the curve
    // (95 % at day 191 reaches the ninth mark, 90 %).
    EXPECT_EQ(dots + marks, 192);
    EXPECT_EQ(marks, 9);
    EXPECT_FALSE(p.Circles().back().filled);

    StationRecord none = s;
    none.LastDay = 0;
    none.FirstDay = 0;
    RecordingPicture q(kW, kH);
    ObsSettings target = Option(0);
    none.TargetDay = 365;
    DrawTimeGraph(q, target, none, {500, 1.2, 0});
    EXPECT_EQ(q.Circles().size(), 4u);  // the observations only
    EXPECT_EQ(CountColour(q.Lines(), 13), 0);
}

TEST(TimeGraph, TargetMarkedAtTheCurveAlsoPastItsEnd) {
    const struct {
        int option;
        std::int32_t day;
        std::string second;
        double offset;
    } cases[] = {{0, 365, "残0.027m", 140}, {1, 91, "90%", 0}, {2, 41, "残0.200m", 280}};
    for (const auto& c : cases) {
        ObsSettings set = Option(c.option);
        const StationRecord s = Fitted(set);
        ASSERT_EQ(s.TargetDay, c.day);
        RecordingPicture p(kW, kH);
        ASSERT_TRUE(DrawTimeGraph(p, set, s, {500, 1.2, 0}).ok);
        SCOPED_TRACE(c.option);
        const double x = 700 + c.day * (kW - 1200) / 500;
        const double y = 350 + s.TargetSettlement * (kH - 450) / 1.2;
        std::vector<DrawOp> magenta;
        for (const DrawOp& l : p.Lines())
            if (l.colour == PaletteColour(13)) magenta.push_back(l);
        ASSERT_EQ(magenta.size(), 2u);
        EXPECT_EQ(magenta[0].style, LineStyle::Dotted);
        EXPECT_DOUBLE_EQ(magenta[0].x1, x);
        EXPECT_DOUBLE_EQ(magenta[0].y2, y);
        const std::vector<DrawOp> texts = p.Texts();
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(texts[texts.size() - 2].text, std::to_string(c.day) + "日");
        EXPECT_EQ(texts.back().text, c.second);
        EXPECT_DOUBLE_EQ(texts.back().x1, (700 + x) / 2 - c.offset);
    }
    // A 365-day leaving period lies past LastDay 191 and is still marked;
    // TargetDay 0 marks nothing.
    StationRecord s = Fitted(Option(0));
    s.TargetDay = 0;
    RecordingPicture p(kW, kH);
    DrawTimeGraph(p, Option(0), s, {500, 1.2, 0});
    EXPECT_EQ(CountColour(p.Lines(), 13), 0);
}

TEST(TimeGraph, FaultsEndTheDrawing) {
    StationRecord zeroSf = Fitted(Option(3));
    zeroSf.FinalSettlement = 0;
    StationRecord shortArrays = Fitted(Option(3));
    shortArrays.Count = 9;
    StationRecord nan = Fitted(Option(3));
    nan.Settlement[2] = NAN;
    StationRecord pastCurve = Fitted(Option(3));
    pastCurve.LastDay = 40000;
    for (const StationRecord* s : {&zeroSf, &shortArrays, &nan, &pastCurve}) {
        RecordingPicture p(kW, kH);
        EXPECT_FALSE(DrawTimeGraph(p, Option(3), *s, {500, 1.2, 1}).ok);
        EXPECT_GE(p.Lines().size(), 2u);  // what came before stays
    }
}

TEST(TimeGraph, AbsurdValuesStayInsideTheBoxAndDrawQuickly) {
    ObsSettings set = Option(0);
    StationRecord s = Fitted(set);
    s.TargetDay = 1000000000;
    s.TargetSettlement = 1e20;
    s.Settlement[3] = 1e20;
    s.Settlement[4] = -1e20;
    const auto start = std::chrono::steady_clock::now();
    RecordingPicture p(kW, kH);
    GraphOutcome out = DrawTimeGraph(p, set, s, {0.001, 0.001, 3});
    EXPECT_TRUE(out.ok);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(p.OutsideBox(60), 0);
    EXPECT_LT(p.ops.size(), 2000u);
}

TEST(RegressionGraph, TicksPointsAndLine) {
    const double W = 3285, H = 3285;
    StationRecord none;
    RecordingPicture empty(W, H);
    EXPECT_TRUE(DrawRegressionGraph(empty, none, 10, 1).ok);
    EXPECT_EQ(empty.ops.size(), 3u);  // cleared, two axes

    auto station = [](std::vector<std::int32_t> t, std::vector<double> r) {
        StationRecord s;
        s.FitCount = static_cast<std::int16_t>(t.size());
        s.ElapsedDays.insert(s.ElapsedDays.end(), t.begin(), t.end());
        s.Ratio.insert(s.Ratio.end(), r.begin(), r.end());
        return s;
    };
    auto labelsAt = [](const RecordingPicture& p, double x) {
        std::vector<std::string> r;
        for (const DrawOp& t : p.Texts())
            if (t.x1 == x) r.push_back(t.text);
        return r;
    };
    auto timeLabels = [&](const RecordingPicture& p) {
        std::vector<std::string> r;
        for (const DrawOp& t : p.Texts())
            if (t.y1 == H - 250) r.push_back(t.text);
        return r;
    };
    const struct {
        std::int32_t tn;
        double rn;
        std::vector<std::string> times, ratios;
    } cases[] = {
        {99, 199.9, {" 0 ", " 20 ", " 40 ", " 60 ", " 80 "}, {" 0 ", " 50 ", " 100 ", " 150 "}},
        {100, 200, {" 0 ", " 50 ", " 100 "}, {" 0 ", " 100 ", " 200 "}},
        {100, -0.1, {" 0 ", " 50 ", " 100 "}, {}},
    };
    for (const auto& c : cases) {
        RecordingPicture p(W, H);
        ASSERT_TRUE(DrawRegressionGraph(p, station({10, c.tn}, {20, c.rn}), 10, 1).ok);
        EXPECT_EQ(timeLabels(p), c.times);
        EXPECT_EQ(labelsAt(p, 200), c.ratios);
        EXPECT_EQ(CountColour(p.Circles(), 9), 2);
    }

    // The line from the labels; the largest positive ratio at the top.
    const StationRecord fit = station({10, 30, 90}, {20, 40, 100});
    RecordingPicture p(W, H);
    ASSERT_TRUE(DrawRegressionGraph(p, fit, 10, 1).ok);
    const double xs = (W - 800) / 90, ys = (H - 450) / 100;
    EXPECT_DOUBLE_EQ(p.Circles()[2].y1, H - 350 - 100 * ys);
    const DrawOp line = p.Lines().back();
    EXPECT_EQ(line.colour, PaletteColour(12));
    EXPECT_DOUBLE_EQ(line.y1, H - 350 - 10 * ys);
    EXPECT_DOUBLE_EQ(line.x2, 700 + 90 * xs);
    EXPECT_DOUBLE_EQ(line.y2, H - 350 - 100 * ys);
    for (double alpha : {0.0, -1.0, double(NAN)}) {
        RecordingPicture q(W, H);
        DrawRegressionGraph(q, fit, alpha, 1);
        EXPECT_EQ(CountColour(q.Lines(), 12), 0);
    }

    // No positive ratio: the scale stays 999999.999 and the points fall
    // on or below the axis, cut off at the box.
    RecordingPicture flat(W, H);
    ASSERT_TRUE(DrawRegressionGraph(flat, station({10, 20}, {0, -1}), 0, 0).ok);
    ASSERT_EQ(flat.Circles().size(), 1u);  // the second lies far below
    EXPECT_DOUBLE_EQ(flat.Circles()[0].y1, H - 350);
}

TEST(RegressionGraph, FaultsAndAbsurdValues) {
    StationRecord s;
    s.FitCount = 2;
    s.ElapsedDays = {0, 5, 0};  // t(n) = 0
    s.Ratio = {0, 3, 4};
    RecordingPicture p(3285, 3285);
    EXPECT_FALSE(DrawRegressionGraph(p, s, 1, 1).ok);
    s.ElapsedDays = {0, 5};  // shorter than the count
    EXPECT_FALSE(DrawRegressionGraph(p, s, 1, 1).ok);

    s.ElapsedDays = {0, 1, 2000000000};
    s.Ratio = {0, 1e-300, 1e300};
    RecordingPicture q(3285, 3285);
    EXPECT_TRUE(DrawRegressionGraph(q, s, 1e20, 1e20).ok);
    EXPECT_EQ(q.OutsideBox(60), 0);
    EXPECT_LE(q.ops.size(), 4100u);  // both tick loops at their cap
}


// No label of either graph covers another or a box the window lays over the
// graph, no tick label an axis, and none reaches past the graph's
// frame, for
// stations and axis maxima over the ranges users meet.
TEST(Graphs, NoLabelCoversAnother) {
    auto overlaps = [](const RecordingPicture& p, std::vector<LabelBox> boxes) {
        const std::size_t fixed = boxes.size();
        // The axes (drawn first), one twip wide.
        std::vector<LabelBox> lines;
        for (const DrawOp& l : p.Lines())
            if (lines.size() < 2)
                lines.push_back(LabelBox{std::min(l.x1, l.x2) - 0.5, std::min(l.y1, l.y2) - 0.5,
                                         std::max(l.x1, l.x2) + 0.5, std::max(l.y1, l.y2) + 0.5});
        std::string found;
        for (const DrawOp& t : p.Texts()) {
            const LabelBox b = TextBox(p.FontPoints(), t.x1, t.y1, t.text);
            if (b.left < 0 || b.top < 0 || b.right > p.Width() || b.bottom > p.Height())
                found += "'" + t.text + "' cut by the frame ";
            // The tick labels (numbers set off by blanks) against the axes.
            if (t.text.front() == ' ')
                for (const LabelBox& l : lines)
                    if (Overlap(b, l)) found += "'" + t.text + "' on a line ";
            // The target day beside its line, not across it.
            if (t.text.ends_with("日"))
                for (const DrawOp& l : p.Lines())
                    if (l.style == LineStyle::Dotted && l.x1 == l.x2 && b.left < l.x1 && l.x1 < b.right)
                        found += "'" + t.text + "' across its line ";
            // No text but the target's own crosses the target's lines.
            if (!t.text.ends_with("日") && !t.text.ends_with("%") && !t.text.ends_with("m"))
                for (const DrawOp& l : p.Lines())
                    if (l.style == LineStyle::Dotted && l.colour == PaletteColour(13) &&  // magenta
                        Overlap(b, LabelBox{std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::max(l.x1, l.x2),
                                            std::max(l.y1, l.y2)}))
                        found += "'" + t.text + "' on the target line ";
            boxes.push_back(b);
        }
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = std::max(i + 1, fixed); j < boxes.size(); ++j)
                if (Overlap(boxes[i], boxes[j])) found += std::to_string(i) + "/" + std::to_string(j) + " ";
        return found;
    };
    const struct {
        double scale;  // of the settlements
        int daysApart;
        double maxDays, maxSettlement;
        int option, mode, selected;
    } cases[] = {
        {1, 10, 500, 1.2, 3, 0, 2},     {1, 10, 100, 1.2, 1, 0, 1},   {0.05, 10, 500, 1.2, 0, 0, 1},
        {0.05, 2, 60, 0.2, 2, 0, 4},    {3, 100, 5000, 4, 1, 1, 3},   {1, 30, 30000, 1.2, 0, 0, 0},
        {10, 10, 500, 20, 1, 0, 2},     {0.01, 1, 10, 0.05, 1, 1, 1}, {1, 400, 2000, 1.5, 2, 1, 4},
        // The target day at the right end of the time axis (maxDays 0: the
        // target day and a few more); ratios of four and five digits.
        {1, 56, 0, 1.2, 1, 0, 0},       {0.3, 100, 0, 1.2, 0, 0, 2},  {0.02, 100, 0, 0.05, 2, 0, 0},
        {0.5, 1000, 9000, 0.5, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.scale) + " " + std::to_string(c.maxDays) + " " + std::to_string(c.option));
        StationRecord s = MakeStation({{0, 0}, {c.daysApart, 0.5 * c.scale}, {3 * c.daysApart, 0.75 * c.scale},
                                       {9 * c.daysApart, 0.9 * c.scale}},
                                      1, 4);
        ObsSettings set = Option(c.option);
        set.TimeAxisMode = static_cast<std::int16_t>(c.mode);
        static_cast<StationResults&>(s) = ComputePrediction(s, set).results;
        RecordingPicture p(kW, kH);
        const double maxDays = c.maxDays > 0 ? c.maxDays : s.TargetDay + 3;
        const GraphOutcome out = DrawTimeGraph(p, set, s, {maxDays, c.maxSettlement, c.selected});
        ASSERT_TRUE(out.unitBox.has_value());
        EXPECT_EQ(overlaps(p, {SettlementUnitBox(), *out.unitBox, MaxDaysBox(kW, kH), MaxSettlementBox(kW, kH)}),
                  "");
        // The fit points of the station: the regression graph, square.
        RecordingPicture q(kH, kH);
        DrawRegressionGraph(q, s, s.Intercept, s.Slope);
        EXPECT_EQ(overlaps(q, {RatioUnitBox()}), "");
    }
}

// Widths by kind of character; a sequence cut at the text's end counts as
// one full-width character and reads nothing past the end.
TEST(Graphs, TextWidthsByKindAndCutSequences) {
    const std::string kana = "\xEF\xBD\xB1";  // U+FF71, half-width
    const struct {
        std::string_view text;
        double ems;
    } cases[] = {{"ab", 1.2}, {" ", 0.3}, {"沈下", 2}, {kana, 0.6}, {"\xEF\xBE\x9E", 0.6},
                 {std::string_view(kana).substr(0, 2), 1}, {std::string_view(kana).substr(0, 1), 1}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(TextBox(10, 0, 0, c.text).right, c.ems * 200) << c.text.size();
}

}  // namespace
