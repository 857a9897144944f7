#include "editing/names.hpp"

namespace kova {

std::string FileTitle(const std::string& path) {
    std::size_t slash = path.rfind('/');
    std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = last.find('.');
    return dot == std::string::npos ? last : last.substr(0, dot);
}

std::string CaptionFor(const std::string& currentFileName) {
    return std::string("Kovadex - ") + (currentFileName == kUntitled ? currentFileName : FileTitle(currentFileName));
}

std::string TrimCommandLine(const std::string& cmdLine) {
    const char* blanks = " \t\r\n";
    std::size_t b = cmdLine.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    std::size_t e = cmdLine.find_last_not_of(blanks);
    return cmdLine.substr(b, e - b + 1);
}

bool IsSheetPileSwitch(const std::string& cmdLine) {
    std::string t = TrimCommandLine(cmdLine);
    if (t.size() != 4) return false;
    for (char& c : t)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return t == "/rvm";
}

}  // namespace kova
