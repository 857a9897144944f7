#pragma once
// The outside services of KOVACALC's main window as the editor tests and the
// screenshot programs give them: no file dialog opens (answers come from a
// script), settings stay in memory, help is only recorded, and the engine
// runs as a real process.
#include <filesystem>

#include "editor/main_window.hpp"
#include "platform/qt/process_qt.hpp"
#include "testing/fakes.hpp"

namespace kova {

// The window's services over the given ones, without the splash screen.
inline EditorDeps TestEditorDeps(MessageSink& msg, FileDialogs& files, ProcessRunner& processes,
                                 SettingsStore& settings, HelpViewer& help, const std::filesystem::path& app,
                                 const std::filesystem::path& engine, const std::filesystem::path& lockFile) {
    EditorDeps deps;
    deps.messages = &msg;
    deps.files = &files;
    deps.processes = &processes;
    deps.settings = &settings;
    deps.help = &help;
    deps.appPath = app;
    deps.engineProgram = engine;
    deps.lockFile = lockFile;
    deps.splash = false;
    return deps;
}

struct EditorServices {
    ScriptedFileDialogs files;
    QtProcessRunner processes;
    MemorySettings settings;
    RecordingHelpViewer help;

    // The window's services over these, for the program folder app.
    EditorDeps ServiceDeps(MessageSink& msg, const std::filesystem::path& app,
                           const std::filesystem::path& engine, const std::filesystem::path& lockFile) {
        return TestEditorDeps(msg, files, processes, settings, help, app, engine, lockFile);
    }
};

}  // namespace kova
