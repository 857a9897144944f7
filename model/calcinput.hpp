#pragma once
// The calculation input CAL_TNK.DAT: the section model as the engine reads it.
#include <filesystem>
#include <string>

#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

inline constexpr const char* kCalcInputFile = "CAL_TNK.DAT";

// Bytes of code page 932 the engine keeps of the title and of each position
// name.
inline constexpr std::size_t kCalcInputNameBytes = rules::kMaxTextBytes;

// The file's text (UTF-8, CR LF), or false with the message that the
// failure calls for: a block vertex on no boundary point, a block whose
// interior point lies outside its outline (named), a stage of an
// embankment or load outside 1 to 5, a count beyond the editors' limits, a number that
// is not finite, a text without a code page 932 form.
bool FormatCalcInput(const Model& m, std::string& text, MessageSink& ui);

// Writes AppPath/CAL_TNK.DAT, replacing it atomically. True when the whole
// file was written; false after a failure whose message has been shown, and
// then nothing has been written.
bool WriteCalcInput(const Model& m, const std::filesystem::path& appPath, MessageSink& ui);

}  // namespace kova
