#pragma once
// The two graphs of the prediction window, drawn through the picture-box
// interface: the settlement-time graph (observations, fitting range,
// predicted curve, target and a cross-hair on one observation) and the
// regression graph (the fit points and the fitted straight line). Plain
// code over the prediction core; the window reads its boxes and labels and
// hands in numbers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.hpp"
#include "predict/obsdata.hpp"

namespace kova::predict {

inline constexpr const char* kTimeGraphFaultText = "グラフ１－表示エラー";
inline constexpr const char* kRegressionGraphFaultText = "グラフ２－表示エラー";
inline constexpr const char* kTimeGraphHelp = "時間～沈下グラフ＞観測データ（青表示） 沈下予測（赤表示）";
inline constexpr const char* kRegressionGraphHelp = "直線回帰グラフ＞観測データ（青表示） 回帰直線（赤表示）";
inline constexpr const char* kDayUnitCaption = "（日）";
inline constexpr const char* kYearUnitCaption = "（年）";

// What the settlement-time graph reads of the window besides the data set.
struct TimeGraphView {
    double maxDays = 0;        // N, from txt_n
    double maxSettlement = 0;  // T, from txt_t
    int selected = 0;          // k, the observation of UpDown1; 0 none
};

// A label's extent in twips of the graph (left < right, top < bottom).
struct LabelBox {
    double left = 0, top = 0, right = 0, bottom = 0;
};

struct GraphOutcome {
    // False when the drawing ended on a fault (a zero scale, a value that is
    // not a finite number, a record whose arrays do not hold its count);
    // what was drawn before stays.
    bool ok = true;
    // The caption the time-unit label gets, when the drawing sets one.
    std::optional<std::string> unitCaption;
    // Where the time-unit label goes: the first place along the row of the
    // time labels that none of them takes (else its first place).
    std::optional<LabelBox> unitBox;
};

// Draws the settlement-time graph of `station` from a cleared box.
GraphOutcome DrawTimeGraph(Picture& p, const ObsSettings& settings, const StationRecord& station,
                           const TimeGraphView& view);

// Draws the regression graph of `station`'s fit points, with the fitted line
// of slope `beta` and intercept `alpha` as the result labels show them.
GraphOutcome DrawRegressionGraph(Picture& p, const StationRecord& station, double alpha, double beta);

// The box a text takes with its top-left corner at (x, y) in a font of
// `points`: counted from its characters, a full-width one as wide as the
// font is high, a blank 0.3 of that, any other 0.6; one line 1.1 font
// heights high (the cross-hair's lines stand 200 twips apart at 9 points).
LabelBox TextBox(double points, double x, double y, std::string_view utf8);
// True when the two boxes share more than an edge.
bool Overlap(const LabelBox& a, const LabelBox& b);

// What the window lays over the graphs, in twips of a graph of w x h: the
// unit labels and, on the settlement-time graph, the two axis-maximum boxes
// (time in the top right corner, settlement in the bottom left one). The
// window places its controls by these, and the graphs keep their labels off
// them.
LabelBox SettlementUnitBox();               // "(ｍ)"
LabelBox TimeUnitBox();                     // "（日）", "（年）": where it goes first
LabelBox RatioUnitBox();                    // "(日/ｍ)" on the regression graph
LabelBox MaxDaysBox(double w, double h);    // txt_n
LabelBox MaxSettlementBox(double w, double h);  // txt_t

// Tick steps of the two graphs.
double SettlementTickStep(double maxSettlement);
double DayTickStep(double maxDays);
double RegressionTimeStep(double lastDays);
double RegressionRatioStep(double lastRatio);

// A number as a bare number is printed: shortest text of at most 15
// significant digits, a blank (or the minus sign) before it and a blank
// after it.
std::string BareNumber(double v);

}  // namespace kova::predict
