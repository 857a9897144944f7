#pragma once
// The engine's report files for the outside print-preview program: page
// files (*.PDT) and drawings (*.PZK) in the run's folder. Each writer raises
// print::PrintFileError when its file cannot be created, written or closed;
// the run's report hooks (print_hooks.hpp) show the message and end the run.
#include "engine/data.hpp"

namespace kova::engine {

// TK_DATA.PDT with the input as read, then KT_ZUMEN.PZK.
void write_condition_report(const EngineState& st);
// KT_ZUMEN.PZK: the cross-section with blocks, loads and positions.
void draw_section_plan(const EngineState& st);

// TK_DT_nn.PDT of calculation position `position` (0-based) from its history,
// with TNK_Z_nn.PZK and, unless a Cv curve was missing, TNJ_H_nn.PZK. A
// position with no soil under it gets its heading and a note that nothing
// was computed there, and no drawing.
void write_point_report(const EngineState& st, int position);

// TNJ_H_nn.PZK of the position: load-time diagram and settlement-time curves
// up to the longest time of the position's overall time table.
void draw_time_settlement(const EngineState& st, int position, int longestTime);

// Computes the overall time tables of the position in st and the curves of
// its drawing into st.time_curves ahead of the report (as while other work
// is pending); the report and the drawing use them when they are for their
// position (and time axis and scale), and compute their own otherwise.
// Nothing when the position gets no drawing.
void prepare_time_settlement(EngineState& st);

// kMaxProfileCode: TNK_MAX.PZK at the greatest settlement of the profile;
// any other code: TNK_Z_nn.PZK of that 0-based position.
inline constexpr int kMaxProfileCode = 99;
void draw_settlement_profile(const EngineState& st, int code);

}  // namespace kova::engine
