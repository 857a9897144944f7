// Without the report writers the run writes only its result tables.
#include "engine/print_hooks.hpp"

namespace kova::engine {

void print_condition_report(EngineState&, MessageSink&) {}
void print_position_report(EngineState&, int, MessageSink&) {}
void print_max_profile(EngineState&, MessageSink&) {}

}  // namespace kova::engine
