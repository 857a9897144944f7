#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <cstdlib>

#include <sys/stat.h>

#include "platform/qt/process_qt.hpp"
#include "testing/fakes.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;
namespace fs = std::filesystem;

namespace {

fs::path Script(const test::TempDir& dir, const std::string& name, const std::string& body, bool exec = true) {
    fs::path p = dir / name;
    test::WriteBytes(p, "#!/bin/sh\n" + body + "\n");
    ::chmod(p.c_str(), exec ? 0755 : 0644);
    return p;
}

TEST(QtProcessRunner, ExitCodesCrashesAndFailedStarts) {
    test::TempDir dir;
    struct Case {
        std::string name, body;
        bool exec;
        ProcessState state;
        int polled;
    } cases[] = {
        {"ok.sh", "exit 0", true, ProcessState::Exited, 0},
        {"one.sh", "exit 1", true, ProcessState::Exited, 1},
        {"seven.sh", "exit 7", true, ProcessState::Exited, 7},
        // Killed by a signal: QProcess gives the signal as the code, which
        // must not read as an exit code.
        {"segv.sh", "kill -SEGV $$", true, ProcessState::Crashed, -1},
        {"noexec.sh", "exit 0", false, ProcessState::FailedToStart, -1},
        {"", "", false, ProcessState::FailedToStart, -1},  // no such program
    };
    QtProcessRunner runner;
    for (const Case& c : cases) {
        fs::path prog = c.name.empty() ? dir / "SETLCORE" : Script(dir, c.name, c.body, c.exec);
        ProcessStatus st = runner.RunAndWait({prog, {}, dir.path()});
        EXPECT_EQ(st.state, c.state) << c.name << " " << st.detail;
        if (c.state == ProcessState::Exited) {
            EXPECT_EQ(st.exitCode, c.polled) << c.name;
        }
        EXPECT_EQ(st.PolledCode(), c.polled) << c.name;
        EXPECT_EQ(st.Succeeded(), c.polled == 0) << c.name;
    }
}

TEST(QtProcessRunner, StandardErrorIsKeptOnlyWhenAsked) {
    test::TempDir dir;
    // More than a pipe holds: a runner that read only at the end would
    // leave the child blocked on a full pipe.
    fs::path prog = Script(dir, "err.sh",
                           "i=0; while [ $i -lt 3000 ]; do echo \"line $i of the engine's complaint\" >&2; "
                           "i=$((i+1)); done; echo out; exit 1");
    QtProcessRunner runner;
    ProcessRequest req{prog, {}, dir.path()};
    req.captureStderr = true;
    ProcessStatus st = runner.RunAndWait(req);
    EXPECT_EQ(st.PolledCode(), 1);
    EXPECT_EQ(st.errorOutput.rfind("line 0 of", 0), 0u);
    EXPECT_NE(st.errorOutput.find("line 2999 of the engine's complaint\n"), std::string::npos);
    EXPECT_EQ(st.errorOutput.find("out"), std::string::npos);  // standard output is forwarded

    req.captureStderr = false;
    EXPECT_TRUE(runner.RunAndWait(req).errorOutput.empty());
}

TEST(QtProcessRunner, RunsInTheWorkingFolderWithTheArgumentsProcessingEvents) {
    test::TempDir dir;
    fs::create_directories(dir / "work");
    fs::path prog = Script(dir, "args.sh", "printf '%s|%s' \"$(pwd)\" \"$1\" > out.txt; sleep 0.4; exit 0");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    ProcessStatus st = QtProcessRunner().RunAndWait({prog, {"/PDTOPEN"}, dir / "work"});
    timer.stop();
    ASSERT_TRUE(st.Succeeded());
    EXPECT_EQ(test::ReadBytes(dir / "work" / "out.txt"), fs::canonical(dir / "work").string() + "|/PDTOPEN");
    EXPECT_GE(ticks, 5);  // a blocked wait would have let none through
}

TEST(StatusOf, AStillRunningProcessPollsAs259) {
    test::TempDir dir;
    QProcess p;
    p.start(QString::fromStdString(Script(dir, "wait.sh", "sleep 5").string()), {});
    ASSERT_TRUE(p.waitForStarted(5000));
    EXPECT_EQ(StatusOf(p).PolledCode(), kStillActive);
    p.kill();
    p.waitForFinished(5000);
    EXPECT_EQ(StatusOf(p).state, ProcessState::Crashed);
}

TEST(RunViewer, AMissingViewerIsReportedThroughTheRealRunner) {
    test::TempDir dir;
    const char* old = std::getenv("KOVA_VIEWER");
    const std::string saved = old ? old : "";
    unsetenv("KOVA_VIEWER");
    QtProcessRunner runner;
    RecordingMessages msg;
    bool enabledAtEnd = false;
    ProcessStatus st = RunViewer(runner, msg, dir.path(), [&](bool on) { enabledAtEnd = on; });
    EXPECT_EQ(st.state, ProcessState::FailedToStart);
    EXPECT_TRUE(enabledAtEnd);
    EXPECT_EQ(msg.Count(), 1u);
    if (old) setenv("KOVA_VIEWER", saved.c_str(), 1);
}

}  // namespace

namespace {

// Records what the runner asks of the notice; stops the program when told.
struct RecordingNotice : RunningNotice {
    void Show(std::function<void()> stop) override {
        ++shown;
        if (stopIt) QTimer::singleShot(50, [stop] { stop(); });
    }
    void Hide() override { ++hidden; }
    bool stopIt = false;
    int shown = 0, hidden = 0;
};

TEST(QtProcessRunner, ALongRunShowsTheNoticeWhoseStopEndsIt) {
    test::TempDir dir;
    QtProcessRunner runner;
    struct Case {
        std::string body;
        bool stop;
        int shown;
        ProcessState state;
    } cases[] = {
        {"exec sleep 30", true, 1, ProcessState::Stopped},
        // Ends before the delay: no notice, only its hiding.
        {"exit 0", false, 0, ProcessState::Exited},
        // Shown and not stopped: the program's own end counts.
        {"sleep 0.5; exit 3", false, 1, ProcessState::Exited},
    };
    for (const Case& c : cases) {
        RecordingNotice notice;
        notice.stopIt = c.stop;
        ProcessRequest req{Script(dir, "p.sh", c.body), {}, dir.path()};
        req.notice = &notice;
        req.noticeDelayMs = 200;
        QElapsedTimer t;
        t.start();
        ProcessStatus st = runner.RunAndWait(req);
        EXPECT_LT(t.elapsed(), 10000) << c.body;
        EXPECT_EQ(st.state, c.state) << c.body;
        EXPECT_EQ(notice.shown, c.shown) << c.body;
        EXPECT_EQ(notice.hidden, 1) << c.body;
        if (c.stop) {
            EXPECT_EQ(st.PolledCode(), -1);
            EXPECT_FALSE(st.Succeeded());
        }
    }
}

}  // namespace
