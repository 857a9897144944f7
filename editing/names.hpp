#pragma once
// Names the main window derives: the untitled name, the title of a project
// path for the caption, and the one command-line switch.
#include <string>

namespace kova {

inline constexpr const char* kUntitled = "無題";
inline constexpr const char* kAppTitle = "Kovadex";
inline constexpr const char* kProjectFilter = "ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov";
inline constexpr const char* kDxfFilter = "DXF ﾃﾞｰﾀ ﾌｧｲﾙ (*.dxf)|*.dxf";

// The text after the last "/" (the whole path without one), cut before
// its first ".": "/data/site.old.kov" gives "site".
std::string FileTitle(const std::string& path);

// "Kovadex - " and the untitled name itself, or the title of the path.
std::string CaptionFor(const std::string& currentFileName);

// The command line, trimmed of blanks, is "/rvm" in any letter case.
bool IsSheetPileSwitch(const std::string& cmdLine);

// The command line trimmed of leading and trailing blanks.
std::string TrimCommandLine(const std::string& cmdLine);

}  // namespace kova
