#pragma once
// The settlement methods of a soil layer, a row each: what the layer
// dialog lists, the curve a layer reads, and the names the engine's
// messages and the reports give. A new method is a row here and its
// computation.
#include <array>

namespace kova {

enum SettleMethodCode : int { kMethodELogP, kMethodCc, kMethodMv, kMethodHough, kMethodNone, kMethodCount };

// The curve a method reads its compression from (a clay that consolidates
// reads its logCv-logP curve besides).
enum class MethodCurve { None, ELogP, Mv, Sand };

struct SettleMethodRow {
    SettleMethodCode code;
    const char* listed;   // in the layer dialog's list
    const char* checked;  // in the engine's messages
    const char* printed;  // in the reports
    MethodCurve curve;
    int points;  // at least this many points of it
    bool cc;     // reads the compression index Cc
};

inline constexpr std::array<SettleMethodRow, kMethodCount> kSettleMethods{{
    {kMethodELogP, "e-LogP法", "e-logP法", "Δｅ法", MethodCurve::ELogP, 2, false},
    {kMethodCc, "Cc法", "Cc法", "Ｃｃ法", MethodCurve::ELogP, 1, true},
    {kMethodMv, "Mv法", "Mv法", "Ｍｖ法", MethodCurve::Mv, 1, false},
    {kMethodHough, "B.K.Hough", "B.K.Hough法", "B.K.Hough", MethodCurve::Sand, 2, false},
    {kMethodNone, "非圧密層", "", "非圧密層", MethodCurve::None, 0, false},
}};

constexpr bool TableInCodeOrder() {
    for (int i = 0; i < kMethodCount; ++i)
        if (kSettleMethods[static_cast<std::size_t>(i)].code != i) return false;
    return true;
}
static_assert(TableInCodeOrder(), "a method's row stands at its code");

// The row of a stored code; a code no method has reads as non-consolidating.
constexpr const SettleMethodRow& SettleMethodOf(int code) {
    return kSettleMethods[static_cast<std::size_t>(code >= 0 && code < kMethodCount ? code : kMethodNone)];
}

}  // namespace kova
