#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/process.hpp"
#include "testing/fakes.hpp"

using namespace kova;

namespace {

TEST(ProcessStatus, PolledCodes) {
    struct Case {
        ProcessState state;
        int code, polled;
    } cases[] = {
        {ProcessState::Running, 0, 259}, {ProcessState::Exited, 0, 0},  {ProcessState::Exited, 7, 7},
        {ProcessState::Crashed, 11, -1}, {ProcessState::FailedToStart, 0, -1},
        {ProcessState::Stopped, 0, -1},  // stopped by the user: no results, whatever it gave
    };
    for (const Case& c : cases) {
        ProcessStatus s{c.state, c.code, {}};
        EXPECT_EQ(s.PolledCode(), c.polled) << static_cast<int>(c.state) << " " << c.code;
        EXPECT_EQ(s.Succeeded(), c.polled == 0);
    }
}

// The viewer runs from the program folder (or as KOVA_VIEWER names it) with
// the window disabled meanwhile; only a failed start is reported.
TEST(RunViewer, StartsTheViewerAndReportsOnlyAFailedStart) {
    const char* old = std::getenv("KOVA_VIEWER");
    const std::string saved = old ? old : "";
    struct Case {
        const char* env;
        ProcessStatus outcome;
        const char* program;
        const char* message;
    } cases[] = {
        {nullptr, {ProcessState::Exited, 3, {}}, "/opt/kova/VIEWQEX2", nullptr},
        {nullptr, {ProcessState::Crashed, 11, "signal 11"}, "/opt/kova/VIEWQEX2", nullptr},
        {nullptr, {ProcessState::FailedToStart, 0, "No such file"}, "/opt/kova/VIEWQEX2",
         "印刷ﾌﾟﾚﾋﾞｭｰ(VIEWQEX2)を起動出来ません。\r/opt/kova/VIEWQEX2"},
        {"/usr/local/bin/pdtview", {ProcessState::Exited, 0, {}}, "/usr/local/bin/pdtview", nullptr},
    };
    for (const Case& c : cases) {
        if (c.env) setenv("KOVA_VIEWER", c.env, 1); else unsetenv("KOVA_VIEWER");
        ScriptedProcesses runner;
        RecordingMessages msg;
        std::vector<bool> enabled;
        runner.Script(c.outcome);
        ProcessStatus st = RunViewer(runner, msg, "/opt/kova", [&](bool on) { enabled.push_back(on); });
        ASSERT_EQ(runner.started.size(), 1u);
        EXPECT_EQ(runner.started[0].program, std::filesystem::path(c.program));
        EXPECT_EQ(runner.started[0].args, std::vector<std::string>{"/PDTOPEN"});
        EXPECT_EQ(runner.started[0].workDir, std::filesystem::path("/opt/kova"));
        EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
        EXPECT_EQ(st.exitCode, c.outcome.exitCode);
        if (c.message) {
            ASSERT_EQ(msg.Count(), 1u);
            EXPECT_EQ(msg.Last().text, c.message);
            EXPECT_EQ(msg.Last().caption, "");  // the application title
        } else {
            EXPECT_EQ(msg.Count(), 0u);
        }
    }
    if (old) setenv("KOVA_VIEWER", saved.c_str(), 1); else unsetenv("KOVA_VIEWER");
}

// Installed, the program folder is the user's and the viewer lies beside the
// programs: it is started from there, in the program folder.
TEST(RunViewer, TheViewerComesFromTheProgramsFolderAndRunsInTheProgramFolder) {
    const char* old = std::getenv("KOVA_VIEWER");
    const std::string saved = old ? old : "";
    unsetenv("KOVA_VIEWER");
    ScriptedProcesses runner;
    RecordingMessages msg;
    runner.Script(ProcessStatus{ProcessState::FailedToStart, 0, "No such file"});
    RunViewer(runner, msg, "/home/u/.local/share/kovadex", nullptr, "/usr/bin");
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0].program, std::filesystem::path("/usr/bin/VIEWQEX2"));
    EXPECT_EQ(runner.started[0].workDir, std::filesystem::path("/home/u/.local/share/kovadex"));
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "印刷ﾌﾟﾚﾋﾞｭｰ(VIEWQEX2)を起動出来ません。\r/usr/bin/VIEWQEX2");
    // A caller that names its reports has the name follow "/PDTOPEN".
    ScriptedProcesses named;
    named.Script(ProcessStatus{ProcessState::Exited, 0, {}});
    RunViewer(named, msg, "/home/u/.local/share/kovadex", nullptr, "/usr/bin", "TL");
    ASSERT_EQ(named.started.size(), 1u);
    EXPECT_EQ(named.started[0].args, (std::vector<std::string>{"/PDTOPEN", "TL"}));
    if (old) setenv("KOVA_VIEWER", saved.c_str(), 1);
}

}  // namespace
