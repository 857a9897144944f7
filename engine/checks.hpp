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

// The settlement method a layer is computed by in this run: a layer of an
// immediate method (B.K.Hough), or any sand layer, computes nothing without
// the immediate settlement of sand.
int effective_method(const CalcInput& in, const SoilLayerRec& layer);

// What is wrong with what each layer's method reads (the curves, the sand
// curve its N value picks, the compression index; a consolidating clay also
// its logCv-logP curve): too few points for the method, a pressure that is
// not positive or does not increase, a value that is not positive (a void
// ratio, mv or cv of 0 carries no compressibility), a void ratio that rises
// with pressure, a compression index that is not positive. One text per
// fault, in layer order; empty when all are usable. Every method that
// settles also reads the overburden pressure, which needs a unit weight
// above 0 (at 0 the pressure at mid-depth can be 0 and the layer settles
// nothing), and the reduction factor beta, which must lie in (0, 1]: a
// factor of 0 drops the layer, one above 1 multiplies it. A refused value
// is named as read.
std::vector<std::string> curve_faults(const CalcInput& in);

// Every soil layer, embankment and (with the cut flag) cut block whose
// outline crosses itself (an outline folded over, such as a bottom point
// moved above the top), every embankment or cut block that overhangs (a
// vertical crosses its outline more than twice), every two soil layers and
// every two blocks of one kind that overlap, every embankment that shares
// ground with a soil layer (more than the tolerance of the outlines on
// some vertical: that band would be counted as ground and as load; a cut
// lies in the ground by design): one text per fault. The column takes an
// outline in either direction.
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
// further than, it is thick, or whose load increases and which rises: the
// message text after "<place>: ", empty when none does.
std::string layer_settlement_fault(const CalcInput& in, const SoilColumn& col, const LayerResults& res, double u);

// "<place>: <fault>" shown with the caption "error", then RunAborted.
[[noreturn]] void abort_run(MessageSink& messages, const std::string& text);

// The message for a calculation position with no soil layer under it.
Message no_soil_message(const std::string& place);

}  // namespace kova::engine
