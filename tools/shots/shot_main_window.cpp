// Renders the main window of KOVACALC to PNG for a person to check: the
// example section opened and calculated by the engine, in a scratch program
// folder. kova_editor_shots <folder> <examples folder>.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "dialogs/dialog13.hpp"
#include "editing/editor_host.hpp"
#include "editor/main_window.hpp"
#include "editor/run_notice.hpp"
#include "tools/shots/editor_shots.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "testing/fakes.hpp"
#include "tools/shots/shot_support.hpp"
#include "shell/recent_menu.hpp"

namespace fs = std::filesystem;

namespace {

bool Shots(const QDir& out, char** argv) {
    QApplication::setFont(kova::FormFont("ＭＳ Ｐゴシック", 9));
    kova::ShotServices shot;
    kova::RecordingMessages msg;
    kova::EditorDeps deps = shot.Deps(msg);
    deps.cmdLine = "/rvm";

    kova::Form1 form(deps);
    if (!form.Load()) return false;
    form.show();
    shot.files.Script(fs::path(argv[2]) / "road_embankment.kov");
    form.OpenProject();
    // The conditions dialog as the user would see it, then "計算".
    QTimer::singleShot(200, [&] {
        auto* d = qobject_cast<kova::Dialog13*>(QApplication::activeModalWidget());
        if (!d) return;
        kova::SaveShot(kova::WithCaption(d->grab().toImage(), d->windowTitle()), out, "kovacalc_conditions.png");
        d->OKButton->click();
    });
    form.Calculate();
    form.SetStatusText(1, "境界線の始点をクリックして下さい");
    form.SetStatusText(2, "X= 40.000  Y= 4.000");
    QApplication::processEvents();
    for (const kova::Message& m : msg.shown) std::printf("message: %s\n", m.text.c_str());
    bool ok = kova::SaveShot(kova::WithCaption(form.grab().toImage(), form.windowTitle()), out, "kovacalc_main.png");

    // The file menu with two recent files.
    shot.settings.Save("Kova_xxx", "Recent Files", "RecentFile1", "/home/user/現場/road_embankment.kov");
    shot.settings.Save("Kova_xxx", "Recent Files", "RecentFile2", "/home/user/現場/試験盛土.kov");
    form.Recent()->Refresh();
    QMenu* file = form.menuBar()->actions().at(0)->menu();
    file->popup(form.mapToGlobal(QPoint(0, form.menuBar()->height())));
    QApplication::processEvents();
    ok = kova::SaveShot(file->grab().toImage(), out, "kovacalc_file_menu.png") && ok;
    file->hide();
    for (int i = 1; i < 5; ++i) {
        QMenu* m = form.menuBar()->actions().at(i)->menu();
        m->popup(form.mapToGlobal(QPoint(0, form.menuBar()->height())));
        QApplication::processEvents();
        ok = kova::SaveShot(m->grab().toImage(), out, QStringLiteral("kovacalc_menu_%1.png").arg(i)) && ok;
        m->hide();
    }

    // The palettes as the tool options open them, beside the window.
    const std::pair<int, const char*> palettes[] = {
        {1, "kovacalc_palette_points.png"}, {2, "kovacalc_palette_lines.png"},
        {3, "kovacalc_palette_blocks.png"}, {5, "kovacalc_palette_terrain.png"}};
    for (auto [option, name] : palettes) {
        form.SelectToolOption(option);
        QApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &form && w->isVisible() && w->inherits("kova::ToolPalette"))
                ok = kova::SaveShot(kova::WithCaption(w->grab().toImage(), w->windowTitle()), out, name) && ok;
    }
    form.SelectToolOption(kova::kNoToolOption);

    // The box of a long engine run, over the disabled window.
    if (auto* notice = dynamic_cast<kova::RunningBox*>(form.EngineNotice())) {
        form.setEnabled(false);
        notice->Show([] {});
        QApplication::processEvents();
        ok = kova::SaveShot(kova::WithCaption(notice->grab().toImage(), notice->windowTitle()), out,
                            "kovacalc_running.png") && ok;
        notice->Hide();
        form.setEnabled(true);
    }

    // After New (the changes discarded), and after a resize.
    msg.Script(kova::MsgAnswer::No);
    form.NewProject();
    QApplication::processEvents();
    ok = kova::SaveShot(kova::WithCaption(form.grab().toImage(), form.windowTitle()), out, "kovacalc_new.png") && ok;
    shot.files.Script(fs::path(argv[2]) / "road_embankment.kov");
    form.OpenProject();
    form.resize(1100, 760);
    QApplication::processEvents();
    form.ShowWholeView();
    QApplication::processEvents();
    ok = kova::SaveShot(kova::WithCaption(form.grab().toImage(), form.windowTitle()), out, "kovacalc_resized.png") &&
         ok;

    // A GIS section whose header says inches: what landed, and what the
    // user is told of it.
    msg.Clear();
    shot.files.Script(fs::path(argv[2]).parent_path() / "tests" / "data" / "dxf" / "gdal_section.dxf");
    form.OpenDxf();
    QApplication::processEvents();
    ok = kova::SaveShot(kova::WithCaption(form.grab().toImage(), form.windowTitle()), out, "kovacalc_dxf.png") && ok;
    if (!msg.shown.empty()) {
        kova::QtMessages boxes("Kovadex");
        std::unique_ptr<QMessageBox> box(boxes.Build(msg.Last(), nullptr));
        box->show();
        QApplication::processEvents();
        ok = kova::SaveShot(kova::WithCaption(box->grab().toImage(), box->windowTitle()), out,
                            "kovacalc_dxf_message.png") && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    return kova::RunShots(argc, argv, 3, "<folder> <examples folder>", [argv](const QDir& out) { return Shots(out, argv); });
}
