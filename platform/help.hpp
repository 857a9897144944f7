#pragma once
// Help: the program's help file from the program folder, opened with the
// desktop's default viewer for it.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/message.hpp"

namespace kova {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Opens the file in the desktop's viewer; false when none could.
    virtual bool Open(const std::filesystem::path& file) = 0;
};

// The help file of the program folder, e.g. "KOVACALC.HLP".
std::filesystem::path HelpFilePath(const std::filesystem::path& appPath, const std::string& name);

std::string HelpMissingText(const std::string& name);
std::string HelpNoViewerText(const std::string& name);

// Opens the help file; tells the user when the file is missing from the
// program folder or no viewer can show it. True when it was opened.
bool ShowHelp(HelpViewer& viewer, MessageSink& msg, const std::filesystem::path& appPath,
              const std::string& name);

}  // namespace kova
