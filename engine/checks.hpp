#pragma once
// Checks of what the input means, made once per run (or once per column),
// never inside the loops over days. A file can be well formed and still
// describe no consolidation: a method without the curve it reads, a curve
// that heaves under load, an outline folded over itself, a layer that
// settles more than it is thick. Such a run ends with exit code 1 and a
// message that names the layer or block and what is wrong, instead of
// results that look computed.
#include <string>
#include <vector>

#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

// The settlement method a layer is computed by in this run: a B.K.Hough
// layer, or any sand layer, computes nothing without the immediate
// settlement of sand.
int effective_method(const CalcInput& in, const SoilLayerRec& layer);

// What is wrong with the curves of every layer that consolidates by the
// e-logP, Cc or Mv method: too few points for the method, a pressure that is
// not positive or does not increase, an e-logP void ratio that rises with
// pressure. One text per fault, in layer order; empty when all are usable.
std::vector<std::string> curve_faults(const CalcInput& in);

// Every soil layer, embankment and (with the cut flag) cut block whose
// outline crosses itself (an outline folded over, such as a bottom point
// moved above the top): one text per block.
std::vector<std::string> outline_faults(const CalcInput& in);

// Shows every fault of the two checks above, one message each, and throws
// RunAborted when there was any.
void check_input_meaning(const CalcInput& in, MessageSink& messages);

// Once per run, ahead of the positions: one message for every
// consolidating layer whose drains are refused, saying what is wrong (the
// layer is computed without drains), and one for every loading stage whose
// loads give different start days or loading periods (the last load's
// values are used, as the stage loop takes them).
void report_drains_and_stage_days(const CalcInput& in, MessageSink& messages);

// The first slot of a computed column whose layer settles as far as, or
// further than, it is thick: the message text after "<place>: ", empty when
// none does.
std::string thickness_fault(const CalcInput& in, const SoilColumn& col, const LayerResults& res);

// "<place>: <fault>" shown with the caption "error", then RunAborted.
[[noreturn]] void abort_run(MessageSink& messages, const std::string& text);

// The message for a calculation position with no soil layer under it.
Message no_soil_message(const std::string& place);

}  // namespace kova::engine
