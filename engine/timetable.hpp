#pragma once
// Time-settlement tables of a calculation position, read from its stage
// timing (StageTiming in engine/data.hpp).
//
// How the stage timing is to be read:
// - Entries are compact: entry j (0..history.stage_count-1) is the j-th stage
//   that received a new load; history.stage_number[j] is its stage number.
//   Loads in stages 1 and 3 give entries 0 and 1; loads only in stage 2 give
//   entry 0 alone.
// - Unit r (0..timing.timing_unit_count-1) is the r-th consolidation unit of
//   the column, from the top; timing_unit_layer[r] is its last (reference)
//   soil layer, 0-based input index. Its drains are that layer's drains and
//   take part only when drains_valid() accepts them (unit_drained()).
// - stage_unit_coefficient: cv, or ch = alpha cv with drains (m2/day);
//   stage_unit_drain_length: drainage length, or de with drains (m);
//   stage_unit_thickness: converted thickness H' (m), the drain length of the
//   well-resistance term; stage_unit_increment: final settlement added by the
//   entry's stage; stage_unit_total: final settlement after it (m).
// - A unit with a zero coefficient or length (a layer without Cv curve) does
//   not consolidate in time: its days are DayKind::NoValue and the reports
//   print their run of "─" in place of the day.
//
// The graph and the tables build one UnitTimeline per unit (drain factors
// computed once) and ask it for settlements day by day. One settlement_at()
// costs some 20 to 60 ns per stage, so a curve over the whole horizon of a
// position with 20 units in 5 stages is worth computing once per unit and day
// and then reusing for the unit curves and the column curve.
#include <array>

#include "engine/consolidation.hpp"
#include "engine/data.hpp"

namespace kova::engine {

// The staged search examines days below this.
inline constexpr int kTimeHorizonDays = 36500;

// Time factors Tv for the degrees 10 %, 20 %, ..., 100 % (k = 0..9).
inline constexpr std::array<double, 10> kDegreeTimeFactors = {0.008, 0.031, 0.071, 0.126, 0.197,
                                                              0.287, 0.403, 0.567, 0.848, 3.0};

// One consolidation unit through all loaded stages of the position.
struct UnitTimeline {
    int stage_count = 0;
    std::array<UnitStage, kMaxStages> stages{};  // per compact entry
    double total = 0;  // final settlement after the last stage (m)

    // Whether the unit consolidates in time under every stage.
    bool has_time() const;
    // Settlement on day t: the sum over the stages.
    double settlement_at(int t) const;
};

// Whether unit r's reference layer has drains that take part.
bool unit_drained(const EngineState& st, int r);

// Unit r of the position in st, after its last stage.
UnitTimeline unit_timeline(const EngineState& st, int r);

// DayKind and TableEntry are in engine/data.hpp.

// Day and settlement at degree (k + 1) x 10 % (k = 0..9) of the settlement
// that stage entry j adds to the unit, that stage taken on its own. For
// k = 9 only the settlement is meaningful.
TableEntry consolidation_time_table(const UnitTimeline& unit, int j, int k);

// Day and settlement at degree (k + 1) x 10 % (k = 0..8) of the unit's
// total after the last stage, all stages acting together, searching from
// day first_day on.
TableEntry settlement_time_table(const UnitTimeline& unit, int k, int first_day);

// The degrees 10 % to 90 % in turn, each search starting where the previous
// degree was reached (day 1 for the first, day 0 after a miss).
std::array<TableEntry, 9> overall_time_table(const UnitTimeline& unit);

}  // namespace kova::engine
