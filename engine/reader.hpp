#pragma once
// Reading of the calculation input CAL_TNK.DAT into the engine's tables.
#include <filesystem>

#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

inline constexpr const char* kInputFileName = "CAL_TNK.DAT";

// Reads folder/CAL_TNK.DAT into in. Every line is checked: a missing file,
// a file that ends early or whose last line has no line end, bytes that are
// no code page 932 text, a malformed line, junk after the data, a count
// above capacity or one that does not match the entries after it, a point
// number outside 1..500, a vertex count above 100, a stage outside 1..5 or
// a non-finite number shows one message naming the line and throws
// RunAborted.
void read_calc_input(const std::filesystem::path& folder, CalcInput& in, MessageSink& messages);

}  // namespace kova::engine
