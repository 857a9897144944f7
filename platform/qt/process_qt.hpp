#pragma once
// Running a program with QProcess while the event loop goes on.
#include "platform/process.hpp"

class QProcess;

namespace kova {

// The state of a QProcess as a poll sees it. The exit status is checked
// before the code: after a crash QProcess reports the signal as the code.
ProcessStatus StatusOf(const QProcess& p);

class QtProcessRunner : public ProcessRunner {
public:
    ProcessStatus RunAndWait(const ProcessRequest& req) override;
};

}  // namespace kova
