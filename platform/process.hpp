#pragma once
// Starting another program of the suite (the engine, the print viewer) in a
// working folder and waiting for it while the caller's window keeps
// processing events.
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/message.hpp"

namespace kova {

// The code a poll of the exit code gives while the program still runs.
inline constexpr int kStillActive = 259;

// What the user sees of a program that runs longer than a moment, with a
// way to stop it.
class RunningNotice {
public:
    virtual ~RunningNotice() = default;
    // The program still runs after the request's delay; `stop` ends it.
    // Must not block: the wait goes on while the notice is shown.
    virtual void Show(std::function<void()> stop) = 0;
    // The program has ended: the notice goes (also when it never came).
    virtual void Hide() = 0;
};

struct ProcessRequest {
    std::filesystem::path program;   // absolute path of the executable
    std::vector<std::string> args;
    std::filesystem::path workDir;   // the started program's current folder
    // Keep what the program writes to standard error (returned in the
    // status) instead of forwarding it; standard output is always forwarded.
    bool captureStderr = false;
    // Shown when the program still runs after noticeDelayMs; none when null.
    RunningNotice* notice = nullptr;
    int noticeDelayMs = 2000;
};

// Stopped: ended by the notice's stop, whatever code it then gave.
enum class ProcessState { Running, Exited, Crashed, FailedToStart, Stopped };

struct ProcessStatus {
    ProcessStatus() = default;
    ProcessStatus(ProcessState s, int code = 0, std::string why = {}, std::string stderrText = {})
        : state(s), exitCode(code), detail(std::move(why)), errorOutput(std::move(stderrText)) {}

    ProcessState state = ProcessState::FailedToStart;
    int exitCode = 0;    // the program's own code; meaningful when Exited
    std::string detail;  // why it failed to start or how it crashed
    std::string errorOutput;  // its standard error, when the request captured it

    bool Exited() const { return state == ProcessState::Exited; }
    // Ended by itself with code 0: the only outcome that means results.
    bool Succeeded() const { return Exited() && exitCode == 0; }
    // The code a poll reports: kStillActive while running, the exit code
    // once ended; a crash, a stop or a failed start reads as -1, never as 0
    // or as still running.
    int PolledCode() const;
};

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Starts the program and returns when it has ended or could not start.
    // Window events keep being processed meanwhile; disabling the window so
    // that no command starts is the caller's part.
    virtual ProcessStatus RunAndWait(const ProcessRequest& req) = 0;
};

// The print viewer: the program named by $KOVA_VIEWER when set, otherwise
// VIEWQEX2 in programDir, the folder of the suite's executables.
std::filesystem::path ViewerProgram(const std::filesystem::path& programDir);

// The message shown when the viewer cannot be started.
std::string ViewerStartFailedText(const std::filesystem::path& program);

// Starts the viewer with "/PDTOPEN" in the program folder and waits for it
// with the window disabled (setEnabled(false) before, setEnabled(true) after,
// whatever happens). How it ends carries no meaning; only when it cannot be
// started is the user told. The viewer is looked for in programDir, or in
// the program folder when that is empty (a build tree, where both are one).
// reportSet, when given, follows "/PDTOPEN" and names the caller's reports
// ("TK" the calculation's, "TL" the prediction's): both programs share the
// program folder. Returns the status.
ProcessStatus RunViewer(ProcessRunner& runner, MessageSink& msg, const std::filesystem::path& appPath,
                        const std::function<void(bool)>& setEnabled,
                        const std::filesystem::path& programDir = {}, const std::string& reportSet = {});

}  // namespace kova
