#pragma once
// The prediction window on fakes, in a program folder of its own.
#include <QApplication>
#include <filesystem>
#include <memory>

#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "platform/settings.hpp"
#include "predict/window/f2.hpp"
#include "testing/fakes.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

namespace kova::predict::test {

inline std::filesystem::path Sample(const std::string& name) {
    return std::filesystem::path(KOVA_TEST_DATA) / "predict" / name;
}

struct WindowFixture {
    kova::test::TempDir app;   // the program folder
    kova::test::TempDir work;  // where the user keeps data files
    RecordingMessages msg;
    ScriptedFileDialogs files;
    ScriptedProcesses processes;
    RecordingHelpViewer help;
    MemorySettings settings;
    std::unique_ptr<f2> w;

    WindowFixture() {
        w = std::make_unique<f2>(PredictServices{&msg, &files, &processes, &help, &settings, app.path(), "2.1"});
        w->Form_Load();
    }
    ~WindowFixture() { w.reset(); }

    // Opens a file through the open dialog.
    void Open(const std::filesystem::path& file) {
        files.Script(file);
        w->open_Click();
    }
    // Closes the window as its close box does; true when it closed.
    bool Close() { return w->close(); }
};

}  // namespace kova::predict::test
