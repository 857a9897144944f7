#include "platform/help.hpp"

#include <system_error>

namespace kova {

std::filesystem::path HelpFilePath(const std::filesystem::path& appPath, const std::string& name) {
    // operator/ adds no second separator after a folder that ends in one.
    return appPath / name;
}

std::string HelpMissingText(const std::string& name) {
    return "ﾍﾙﾌﾟﾌｧｲﾙ(" + name + ")が見つかりません。";
}

std::string HelpNoViewerText(const std::string& name) {
    return "ﾍﾙﾌﾟﾌｧｲﾙ(" + name + ")を表示出来ません。";
}

bool ShowHelp(HelpViewer& viewer, MessageSink& msg, const std::filesystem::path& appPath,
              const std::string& name) {
    std::filesystem::path file = HelpFilePath(appPath, name);
    std::error_code ec;
    // Without a help system that searches for a bare name, a file missing
    // from the program folder is reported rather than passed on.
    if (!std::filesystem::is_regular_file(file, ec)) {
        msg.Notify(HelpMissingText(name) + "\r" + file.string(), MsgIcon::Exclamation);
        return false;
    }
    if (!viewer.Open(file)) {
        msg.Notify(HelpNoViewerText(name) + "\r" + file.string(), MsgIcon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace kova
