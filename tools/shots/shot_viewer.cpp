// Renders VIEWQEX2's window on the reports of a folder to PNG, one shot per
// report asked for, and each page of those reports at print size.
//   kova_viewer_shots OUT FOLDER NAME...   (NAME: a page file of FOLDER)
#include <QApplication>
#include <QDir>
#include <QListWidget>

#include "platform/filedialog.hpp"
#include "platform/message.hpp"
#include "testing/fakes.hpp"
#include "tools/shots/shot_support.hpp"
#include "viewer/app/document.hpp"
#include "viewer/app/viewer_window.hpp"
#include "viewer/reader/report_set.hpp"

int main(int argc, char** argv) {
    return kova::RunShots(argc, argv, 4, "<folder> <report folder> <page file>...", [&](const QDir& out) {
    kova::ScriptedFileDialogs files;
    kova::RecordingMessages messages;
    kova::viewer::ViewerWindow w(argv[2], files, messages);
    w.resize(1100, 900);
    bool ok = true;
    for (int a = 3; a < argc; ++a) {
        const QString want = QString::fromLocal8Bit(argv[a]);
        int index = -1;
        for (int i = 0; i < w.List()->count(); ++i)
            if (w.List()->item(i)->text().startsWith(want + QStringLiteral("  "))) index = i;
        if (index < 0) {
            std::fprintf(stderr, "no report %s\n", argv[a]);
            ok = false;
            continue;
        }
        w.Show(index);
        QString base = QStringLiteral("viewer_") + want.section('.', 0, 0);
        ok = kova::SaveWindowShot(w, out, base + QStringLiteral(".png")) && ok;
        // Laid out with its set, as the window does (the project title of
        // the condition report heads a position's pages).
        const auto set = kova::viewer::LoadSet(kova::viewer::PageFilesIn(argv[2]));
        const kova::viewer::LaidReport& r = set[static_cast<std::size_t>(index)];
        for (std::size_t p = 0; p < r.pages.size(); ++p)
            ok = kova::SaveShot(kova::viewer::RenderPage(r.pages[p], 1240), out,
                                base + QStringLiteral("_p%1.png").arg(p + 1)) && ok;
    }
    return ok;
    });
}
