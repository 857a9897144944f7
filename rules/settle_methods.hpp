#pragma once
// The settlement methods of a soil layer, a row each: what the layer
// dialog lists, the curve a layer reads, and the names the engine's
// messages and the reports give, and what the engine's settlement, time and
// report code ask of it. A new method is a row here and its computation
// (engine/settlement.cpp).
#include <array>

namespace kova {

enum SettleMethodCode : int { kMethodELogP, kMethodCc, kMethodMv, kMethodHough, kMethodNone, kMethodCount };

// The curve a method reads its compression from (a clay that consolidates
// reads its logCv-logP curve besides).
enum class MethodCurve { None, ELogP, Mv, Sand };

// The layer results a method fills and the reports print: the void ratios
// (e1, e2, strain), the Cc line or the Mv line.
enum class MethodResult { None, ELogP, Cc, Mv };

struct SettleMethodRow {
    SettleMethodCode code;
    const char* listed;   // in the layer dialog's list
    const char* checked;  // in the engine's messages
    const char* printed;  // in the reports
    MethodCurve curve;
    int points;  // at least this many points of it
    bool cc;     // reads the compression index Cc
    MethodResult result;
    // Settles at once under its load, not in time; computed only when the
    // run takes the immediate settlement of sand.
    bool immediate;
    // Its settlement can fall while the stress grows (read at the mean
    // pressure), so a later stage may leave less than an earlier one.
    bool may_fall;
};

inline constexpr std::array<SettleMethodRow, kMethodCount> kSettleMethods{{
    {kMethodELogP, "e-LogP法", "e-logP法", "Δｅ法", MethodCurve::ELogP, 2, false, MethodResult::ELogP, false, false},
    {kMethodCc, "Cc法", "Cc法", "Ｃｃ法", MethodCurve::ELogP, 1, true, MethodResult::Cc, false, false},
    {kMethodMv, "Mv法", "Mv法", "Ｍｖ法", MethodCurve::Mv, 1, false, MethodResult::Mv, false, true},
    {kMethodHough, "B.K.Hough", "B.K.Hough法", "B.K.Hough", MethodCurve::Sand, 2, false, MethodResult::ELogP, true,
     false},
    {kMethodNone, "非圧密層", "", "非圧密層", MethodCurve::None, 0, false, MethodResult::None, false, false},
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

// The row a layer of `code` is computed by in a run with the given switch
// of the immediate settlement of sand: an immediate method computes nothing
// without it.
constexpr const SettleMethodRow& MethodInRun(int code, int sandImmediate) {
    const SettleMethodRow& m = SettleMethodOf(code);
    return m.immediate && sandImmediate != 1 ? SettleMethodOf(kMethodNone) : m;
}

// Whether a method computes a settlement at all (an immediate one too: its
// clay layer still forms a consolidation unit).
constexpr bool Settles(const SettleMethodRow& m) { return m.result != MethodResult::None; }
// Whether its settlement comes in time by consolidation, drawn as a unit's
// time curve (an immediate one is not).
constexpr bool SettlesInTime(const SettleMethodRow& m) { return Settles(m) && !m.immediate; }

}  // namespace kova
