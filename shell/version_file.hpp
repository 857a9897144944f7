#pragma once
// The version text both front ends show on the splash screen and in the
// About box: the first field of SYSVER.DAT in the program folder.
#include <filesystem>
#include <string>

namespace kova {

inline constexpr const char* kVersionFileName = "SYSVER.DAT";

// The first field of the version file: the text between double quotes, or
// the characters up to the first comma or line end with surrounding blanks
// removed. A missing, empty or unreadable file gives an empty text: the
// version only labels the splash screen and the About box.
std::string ReadVersionText(const std::filesystem::path& appPath);

}  // namespace kova
