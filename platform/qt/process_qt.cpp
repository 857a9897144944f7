#include "platform/qt/process_qt.hpp"

#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <algorithm>

#include "platform/qt/qt_text.hpp"

namespace kova {

ProcessStatus StatusOf(const QProcess& p) {
    ProcessStatus st;
    if (p.state() != QProcess::NotRunning) {
        st.state = ProcessState::Running;
        return st;
    }
    if (p.error() == QProcess::FailedToStart) {
        st.state = ProcessState::FailedToStart;
        st.detail = U(p.errorString());
        return st;
    }
    if (p.exitStatus() == QProcess::CrashExit) {
        st.state = ProcessState::Crashed;
        st.detail = "signal " + std::to_string(p.exitCode());
        return st;
    }
    st.state = ProcessState::Exited;
    st.exitCode = p.exitCode();
    return st;
}

ProcessStatus QtProcessRunner::RunAndWait(const ProcessRequest& req) {
    QProcess p;
    p.setProgram(QPath(req.program));
    QStringList args;
    for (const std::string& a : req.args) args << Q(a);
    p.setArguments(args);
    p.setWorkingDirectory(QPath(req.workDir));
    // The child writes where we write, except for a standard error the
    // caller wants to show (read while the loop runs, so the pipe never
    // fills up and blocks the child).
    p.setProcessChannelMode(req.captureStderr ? QProcess::ForwardedOutputChannel : QProcess::ForwardedChannels);
    p.setInputChannelMode(QProcess::ForwardedInputChannel);

    QEventLoop loop;
    bool done = false;
    bool stopped = false;
    auto finish = [&] {
        done = true;
        loop.quit();
    };
    // A program that takes long is shown, with the user's way to end it.
    QTimer noticeTimer;
    noticeTimer.setSingleShot(true);
    if (req.notice)
        QObject::connect(&noticeTimer, &QTimer::timeout, &loop, [&] {
            if (done || p.state() == QProcess::NotRunning) return;
            req.notice->Show([&] {
                if (p.state() == QProcess::NotRunning) return;
                stopped = true;
                p.kill();
            });
        });
    QObject::connect(&p, &QProcess::finished, &loop, finish);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) finish();
    });
    p.start();
    // A start that fails at once is reported before start() returns.
    if (!done && p.state() != QProcess::NotRunning) {
        if (req.notice) noticeTimer.start(std::max(0, req.noticeDelayMs));
        loop.exec();
    }
    if (p.state() != QProcess::NotRunning) p.waitForFinished(-1);
    noticeTimer.stop();
    if (req.notice) req.notice->Hide();
    ProcessStatus st = StatusOf(p);
    if (stopped && st.state != ProcessState::FailedToStart) st = ProcessStatus{ProcessState::Stopped, 0, "stopped"};
    if (req.captureStderr) st.errorOutput = p.readAllStandardError().toStdString();
    return st;
}

}  // namespace kova
