#pragma once
// The desktop services a main window is given from outside: the real ones
// in the programs, fakes in the tests and the screenshot programs.
#include <filesystem>

#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "platform/settings.hpp"

namespace kova {

struct DesktopServices {
    MessageSink* messages = nullptr;
    FileDialogs* files = nullptr;
    ProcessRunner* processes = nullptr;
    HelpViewer* help = nullptr;
    SettingsStore* settings = nullptr;
    std::filesystem::path appPath;  // the program folder: snapshots, reports, results
};

}  // namespace kova
