#include "platform/process.hpp"

#include <cstdlib>

namespace kova {

int ProcessStatus::PolledCode() const {
    switch (state) {
    case ProcessState::Running: return kStillActive;
    case ProcessState::Exited: return exitCode;
    default: return -1;
    }
}

std::filesystem::path ViewerProgram(const std::filesystem::path& programDir) {
    const char* env = std::getenv("KOVA_VIEWER");
    if (env && *env) return std::filesystem::path(env);
    return programDir / "VIEWQEX2";
}

std::string ViewerStartFailedText(const std::filesystem::path& program) {
    return "印刷ﾌﾟﾚﾋﾞｭｰ(VIEWQEX2)を起動出来ません。\r" + program.string();
}

ProcessStatus RunViewer(ProcessRunner& runner, MessageSink& msg, const std::filesystem::path& appPath,
                        const std::function<void(bool)>& setEnabled, const std::filesystem::path& programDir,
                        const std::string& reportSet) {
    ProcessRequest req{ViewerProgram(programDir.empty() ? appPath : programDir), {"/PDTOPEN"}, appPath};
    if (!reportSet.empty()) req.args.push_back(reportSet);
    if (setEnabled) setEnabled(false);
    ProcessStatus st = runner.RunAndWait(req);
    if (setEnabled) setEnabled(true);
    if (st.state == ProcessState::FailedToStart)
        msg.Notify(ViewerStartFailedText(req.program), MsgIcon::Exclamation);
    return st;
}

}  // namespace kova
