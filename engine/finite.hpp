#pragma once
// Checks of the quantities the engine computes on its way to a result or a
// report. A value that is not a finite number would otherwise print as
// "nan" or "inf", or pass every comparison as "no load" and turn
// settlements into 0; it ends the run instead (exit code 1) with a message
// that names the place and the quantity.
//
// The checks look at the results of a column, a stage or a unit, never
// inside the loops that compute them.
#include <string>

#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

// The first quantity of the column that is not finite (levels, overburden,
// stress increase, consolidation pressure and coefficient, layer results),
// as "土層 3 の増加応力"; empty when all are finite.
std::string column_fault(const SoilColumn& col, const LayerResults& res);

// The same for the consolidation units of the present stage.
std::string units_fault(const UnitState& units);

// The same for the drain factors of every unit of the position in st.
std::string drain_factor_fault(const EngineState& st);

// The column of st.work after a stage at a calculation position (with the
// cut unloading u and the column settlement s) and the units of the stage;
// aborts as below naming place when any is not finite.
void check_stage_results(const EngineState& st, double u, double s, const std::string& place,
                         MessageSink& messages);

// The first fault of a column of the profile: column_fault, then the
// unloading u, the settlement s and the ground level.
std::string profile_column_fault(const ColumnWork& work, double ground, double u, double s);

// "<place>: <fault>が計算できません（数値が有限ではありません）。"
std::string non_finite_text(const std::string& place, const std::string& fault);

// Shows non_finite_text and throws RunAborted.
[[noreturn]] void abort_non_finite(MessageSink& messages, const std::string& place, const std::string& fault);

// "計算位置 2「No.2」 (X=12.500) 第1段階" (with the position's name when it
// has one; stage 0: no stage) and "沈下量分布 X=12.500".
std::string position_place(const CalcInput& in, int position, int stage);
std::string profile_place(double x);

}  // namespace kova::engine
