#pragma once
// Call points of the run for the report and drawing files. The defaults in
// print_hooks_default.cpp write nothing; the report writers replace them.
// A hook that must end the run shows its message and throws RunAborted.
#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

// Before any calculation, with the input as read (before the cut and sand
// switches are applied): TK_DATA.PDT and KT_ZUMEN.PZK.
void print_condition_report(EngineState& st, MessageSink& messages);

// After calculation position `position` (0-based) has been carried through
// the stages and its tnk1.csv line written: TNK_Z_nn.PZK, TNJ_H_nn.PZK and
// TK_DT_nn.PDT. st.work, st.history, st.units and st.timing hold the
// position's results.
void print_position_report(EngineState& st, int position, MessageSink& messages);

// Last: TNK_MAX.PZK from the settlement profile st.profile.
void print_max_profile(EngineState& st, MessageSink& messages);

}  // namespace kova::engine
