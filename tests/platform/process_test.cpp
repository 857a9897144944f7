#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/process.hpp"

using namespace kova;

namespace {

// Clears KOVA_VIEWER for one test and puts it back.
class ViewerEnv {
public:
    ViewerEnv() {
        const char* v = std::getenv("KOVA_VIEWER");
        had_ = v != nullptr;
        if (had_) old_ = v;
        unsetenv("KOVA_VIEWER");
    }
    ~ViewerEnv() {
        if (had_)
            setenv("KOVA_VIEWER", old_.c_str(), 1);
        else
            unsetenv("KOVA_VIEWER");
    }

private:
    bool had_ = false;
    std::string old_;
};

TEST(ProcessStatus, PolledCodes) {
    struct Case {
        ProcessState state;
        int code;
        int polled;
        bool succeeded;
    } cases[] = {
        {ProcessState::Running, 0, 259, false},     {ProcessState::Exited, 0, 0, true},
        {ProcessState::Exited, 1, 1, false},        {ProcessState::Exited, 7, 7, false},
        {ProcessState::Crashed, 11, -1, false},     {ProcessState::FailedToStart, 0, -1, false},
    };
    for (const Case& c : cases) {
        ProcessStatus s{c.state, c.code, {}};
        EXPECT_EQ(s.PolledCode(), c.polled) << static_cast<int>(c.state) << " " << c.code;
        EXPECT_EQ(s.Succeeded(), c.succeeded);
    }
}

TEST(RunViewer, StartsTheViewerInTheProgramFolderWithTheWindowDisabled) {
    ViewerEnv env;
    ScriptedProcesses runner;
    RecordingMessages msg;
    std::vector<bool> enabled;
    runner.Script({ProcessState::Exited, 3, {}});
    ProcessStatus st = RunViewer(runner, msg, "/opt/kova", [&](bool on) { enabled.push_back(on); });
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0].program, std::filesystem::path("/opt/kova/VIEWQEX2"));
    EXPECT_EQ(runner.started[0].args, std::vector<std::string>{"/PDTOPEN"});
    EXPECT_EQ(runner.started[0].workDir, std::filesystem::path("/opt/kova"));
    EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(st.exitCode, 3);
    EXPECT_EQ(msg.Count(), 0u);  // the viewer's code carries no meaning
}

TEST(RunViewer, EnvironmentNamesAnotherViewer) {
    ViewerEnv env;
    setenv("KOVA_VIEWER", "/usr/local/bin/pdtview", 1);
    ScriptedProcesses runner;
    RecordingMessages msg;
    RunViewer(runner, msg, "/opt/kova", {});
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0].program, std::filesystem::path("/usr/local/bin/pdtview"));
    EXPECT_EQ(runner.started[0].workDir, std::filesystem::path("/opt/kova"));
}

TEST(RunViewer, AViewerThatCannotStartIsReportedAndTheWindowEnabledAgain) {
    ViewerEnv env;
    ScriptedProcesses runner;
    RecordingMessages msg;
    std::vector<bool> enabled;
    runner.Script({ProcessState::FailedToStart, 0, "No such file"});
    RunViewer(runner, msg, "/opt/kova", [&](bool on) { enabled.push_back(on); });
    EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "印刷ﾌﾟﾚﾋﾞｭｰ(VIEWQEX2)を起動出来ません。\r/opt/kova/VIEWQEX2");
    EXPECT_EQ(msg.Last().caption, "");  // the application title
    EXPECT_EQ(msg.Last().icon, MsgIcon::Exclamation);
}

TEST(RunViewer, ACrashedViewerOnlyEndsTheWait) {
    ViewerEnv env;
    ScriptedProcesses runner;
    RecordingMessages msg;
    std::vector<bool> enabled;
    runner.Script({ProcessState::Crashed, 11, "signal 11"});
    RunViewer(runner, msg, "/opt/kova", [&](bool on) { enabled.push_back(on); });
    EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(msg.Count(), 0u);
}

}  // namespace
