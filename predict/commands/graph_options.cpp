#include "predict/commands/graph_options.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "textio/cell_text.hpp"
#include "predict/hyperbolic.hpp"
#include "textio/numfmt.hpp"
#include "platform/twips.hpp"

namespace kova::predict {

namespace {

// The numeric value of a box; nothing when it cannot be held as a finite
// number.
std::optional<double> BoxValue(std::string_view text) {
    std::optional<double> v = grid::NumericValue(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

}  // namespace

GraphOptionTexts LoadGraphOptions(const ObsSettings& s, const GraphOptionTexts& before) {
    GraphOptionTexts t = before;
    t.endPercent = FormatFixed(s.EndConditionPercent, 0);
    t.leaveDays = FormatFixed(s.LeaveDays, 0);
    t.residual = FormatFixed(s.ResidualSettlement, 3);
    t.percent = FormatFixed(s.TargetPercent, 0);
    if (s.SettlementOption >= 0 && s.SettlementOption <= 3) t.settlementOption = s.SettlementOption;
    if (s.TimeAxisMode == 0 || s.TimeAxisMode == 1) t.timeAxisMode = s.TimeAxisMode;
    return t;
}

std::string OptionBoxText(std::string_view text, int decimals) {
    std::optional<double> v = BoxValue(text);
    if (!v) return std::string(text);
    return FormatFixed(*v, decimals);
}

std::optional<Message> ApplyGraphOptions(const GraphOptionTexts& t, ObsSettings& s) {
    const std::optional<double> end = BoxValue(t.endPercent);
    if (!end) return DataError(kBadEnd);
    const std::optional<double> leave = BoxValue(t.leaveDays);
    // Nearest whole day, halves to even, within 32 bits (rounded only once
    // it is known to fit a long).
    if (!leave || !(std::fabs(*leave) < 4e9)) return DataError(kBadLeave);
    const double days = static_cast<double>(RoundHalfEven(*leave));
    if (days < std::numeric_limits<std::int32_t>::min() ||
        days > std::numeric_limits<std::int32_t>::max())
        return DataError(kBadLeave);
    const std::optional<double> residual = BoxValue(t.residual);
    if (!residual) return DataError(kBadResidual);
    const std::optional<double> percent = BoxValue(t.percent);
    if (!percent) return DataError(kBadPercent);

    s.EndConditionPercent = *end;
    s.LeaveDays = static_cast<std::int32_t>(days);
    s.ResidualSettlement = *residual;
    s.TargetPercent = *percent;
    s.SettlementOption = static_cast<std::int16_t>(t.settlementOption);
    s.TimeAxisMode = static_cast<std::int16_t>(t.timeAxisMode);
    return std::nullopt;
}

}  // namespace kova::predict
