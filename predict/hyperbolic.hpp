#pragma once
// The hyperbolic settlement fit of one observation station and the
// prediction derived from it.
//
// Counted from a start observation (t0, S0), (t - t0)/(S - S0) is taken to
// grow linearly with t - t0: (t - t0)/(S - S0) = a (t - t0) + b. Then the
// final settlement is Sf = S0 + 1/a and S(t) = S0 + (t - t0)/(a (t - t0) + b).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"

namespace kova::predict {

// The daily curve is searched up to this day; LastDay is at most one more.
inline constexpr std::int32_t kLastSearchDay = 30000;

inline constexpr const char* kAppTitle = "Tolmadex";
inline constexpr const char* kDataErrorCaption = "データエラー";

// A fault of the data the user entered, as its box shows it.
Message DataError(std::string text);
// The texts of the data faults the fit and the graph options both find.
inline constexpr const char* kBadSa = "Saが不正です。";
inline constexpr const char* kBadSaPrime = "Sa'が不正です。";
inline constexpr const char* kBadLeave = "放置期間指定が不正です。";
inline constexpr const char* kBadPercent = "圧密度指定が不正です。";
inline constexpr const char* kBadResidual = "残留沈下量指定が不正です。";
inline constexpr const char* kBadEnd = "終了条件指定が不正です。";

struct PredictionOutcome {
    std::int16_t check = 0;   // 0 inputs usable, 2 input error
    StationResults results;   // all cleared unless the fit succeeded
    std::optional<Message> message;  // what to show, if anything
    std::string cause;        // the fault of a failed fit and its row, when known
};

// The input check: nullopt when the station and settings can be fitted,
// otherwise the message to show.
std::optional<Message> ValidatePredictionInput(const StationRecord& station, const ObsSettings& settings);

// The whole computation for one station; touches nothing.
PredictionOutcome ComputePrediction(const StationRecord& station, const ObsSettings& settings);

// 0 when the inputs are usable; 2 after showing the input error.
std::int16_t CheckPredictionInput(const StationRecord& station, const ObsSettings& settings,
                                  MessageSink& messages);

// Recomputes the results of Stations[curStation], showing any message
// (naming the station, AtStation).
// A station without prediction is left with LastDay 0.
void CalcPrediction(ObsDataSet& data, int curStation, MessageSink& messages);

// The failure message of the computation.
Message PredictionFailureMessage();

// A message about station k as shown: the station's number and name, then
// the cause when known, before the message's own text
// ("観測所3（No.3）：5行目の…\r予測計算で予期せぬエラーが…").
Message AtStation(const Message& m, int k, const std::string& name, const std::string& cause = {});

}  // namespace kova::predict
