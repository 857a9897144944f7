#pragma once
// What both screenshot programs of the main window share: a scratch program
// folder seeded with the data files of the build's program folder, and the
// window's services (no boxes and no file dialogs open; the build's real
// engine runs).
#include <QTemporaryDir>
#include <filesystem>

#include "platform/qt/qt_text.hpp"
#include "testing/qt/editor_services.hpp"

namespace kova {

struct ShotServices : EditorServices {
    QTemporaryDir scratch;
    std::filesystem::path app = PathOf(scratch.path());
    std::filesystem::path bin = KOVA_BIN_DIR;

    ShotServices() {
        for (const char* f : {"BKHough1.CSV", "SYSVER.DAT"})
            std::filesystem::copy_file(bin / f, app / f);
    }

    EditorDeps Deps(MessageSink& msg) { return ServiceDeps(msg, app, bin / "SETLCORE", app / "KOVACALC.lock"); }
};

}  // namespace kova
