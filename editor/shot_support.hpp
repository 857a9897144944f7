#pragma once
// What both screenshot programs of the main window share: a scratch program
// folder seeded with the data files, and the window's services (no boxes
// and no file dialogs open; the real engine of the build runs).
#include <QTemporaryDir>
#include <filesystem>

#include "editor/main_window.hpp"
#include "platform/apppath.hpp"
#include "platform/qt/process_qt.hpp"
#include "platform/qt/qt_text.hpp"

namespace kova {

struct ShotServices {
    QTemporaryDir scratch;
    std::filesystem::path app = PathOf(scratch.path());
    std::filesystem::path bin = ExecutableDir();
    ScriptedFileDialogs files;
    QtProcessRunner processes;
    MemorySettings settings;
    RecordingHelpViewer help;

    ShotServices() {
        for (const char* f : {"BKHough1.CSV", "SYSVER.DAT"})
            std::filesystem::copy_file(bin / f, app / f);
    }

    EditorDeps Deps(MessageSink& msg) {
        EditorDeps deps;
        deps.msg = &msg;
        deps.files = &files;
        deps.processes = &processes;
        deps.settings = &settings;
        deps.help = &help;
        deps.appPath = app;
        deps.engineProgram = bin / "SETLCORE";
        deps.lockFile = app / "KOVACALC.lock";
        deps.splash = false;
        return deps;
    }
};

}  // namespace kova
