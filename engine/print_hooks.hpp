#pragma once
// Call points of the run for the report and drawing files. The defaults in
// print_hooks_default.cpp write nothing; the report writers replace them.
// A hook that must end the run shows its message and throws RunAborted.
#include <exception>

#include "engine/data.hpp"
#include "platform/message.hpp"
#include "print/line_file.hpp"

namespace kova::engine {

// Before any calculation, with the input as read (before the cut and sand
// switches are applied): TK_DATA.PDT and KT_ZUMEN.PZK.
void print_condition_report(EngineState& st, MessageSink& messages);

// After calculation position `position` (0-based) has been carried through
// the stages: prepares TNK_Z_nn.PZK, TNJ_H_nn.PZK and TK_DT_nn.PDT in
// `files`, on any thread. st.work, st.history, st.units and st.timing hold
// the position's results. What goes wrong is kept in `failure` for
// print_position_report; the files prepared until then stay in the batch.
void prepare_position_report(EngineState& st, int position, print::FileBatch& files,
                             std::exception_ptr& failure);

// After the position's tnk1.csv line has been written: puts the prepared
// files on disk in the order they were opened, then raises the failure of
// preparing them, if any.
void print_position_report(print::FileBatch& files, const std::exception_ptr& failure,
                           MessageSink& messages);

// Once st.profile is complete: prepares TNK_MAX.PZK in `files`, any failure
// kept in `failure`.
void prepare_max_profile(EngineState& st, print::FileBatch& files, std::exception_ptr& failure);
// Last: writes TNK_MAX.PZK as prepared, then raises the failure, if any.
void print_max_profile(print::FileBatch& files, const std::exception_ptr& failure, MessageSink& messages);

}  // namespace kova::engine
