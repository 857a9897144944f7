#pragma once
// The graph options as their dialog shows and stores them: the target of
// the prediction with its values, the end condition of the curve and the
// notation of the time axis. Plain code over box texts.
#include <optional>
#include <string>
#include <string_view>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"

namespace kova::predict {

inline constexpr const char* kGraphOptionsCaption = "グラフオプション";

struct GraphOptionTexts {
    std::string leaveDays;     // T1(0), days
    std::string residual;      // T1(1), m
    std::string percent;       // T1(2), %
    std::string endPercent;    // T2, %
    int settlementOption = 3;  // O2: 0 leaving period, 1 percent, 2 residual, 3 none
    int timeAxisMode = 0;      // O3: 0 elapsed days, 1 year and month
};

// The boxes and options as the dialog opens on `s`. An option value outside
// its range leaves that option as `before` has it.
GraphOptionTexts LoadGraphOptions(const ObsSettings& s, const GraphOptionTexts& before);

// What a box shows after it loses the focus: its numeric value with the
// box's decimals; a text whose number is too large to hold stays as it is.
std::string OptionBoxText(std::string_view text, int decimals);
inline constexpr int kLeaveDaysDecimals = 0, kResidualDecimals = 3, kPercentDecimals = 0,
                     kEndPercentDecimals = 0;

// OK: checks every box, then stores them all. A leaving period outside 32
// bits or a value that is not finite is refused with its message (title
// "データエラー") and nothing is stored.
std::optional<Message> ApplyGraphOptions(const GraphOptionTexts& t, ObsSettings& s);

}  // namespace kova::predict
