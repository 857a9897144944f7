#pragma once
// Reading of the calculation input CAL_TNK.DAT into the engine's tables.
#include <filesystem>

#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

inline constexpr const char* kInputFileName = "CAL_TNK.DAT";

// Reads folder/CAL_TNK.DAT into in. Every line is checked: a missing file,
// a file that ends early, a malformed line, a count above capacity, a point
// number outside 1..500, a vertex count above 100, a stage outside 1..5 or a
// non-finite number shows one message and throws RunAborted.
void read_calc_input(const std::filesystem::path& folder, CalcInput& in, MessageSink& messages);

}  // namespace kova::engine
