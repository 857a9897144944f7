// Renders the prediction window and its two graph dialogs to PNG files for a
// person to look at: kova_predict_shots <folder> <observation file>.
// The window shows station 1 of the file after the graph update, once with
// elapsed days and once with years and months on the time axis; then empty
// after New, resized, and maximised and restored.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "testing/fakes.hpp"
#include "tools/shots/shot_support.hpp"
#include "platform/settings.hpp"
#include "predict/window/f2.hpp"
#include "predict/window/graph_commands.hpp"
#include "predict/window/graph_options_dialog.hpp"
#include "predict/window/station_list_dialog.hpp"


namespace {

using namespace kova;
using namespace kova::predict;

bool Shots(const QDir& dir, char** argv) {
    const std::filesystem::path appPath = std::filesystem::path(argv[1]) / "predict_app";
    std::filesystem::create_directories(appPath);

    StderrMessages messages("Tolmadex");
    ScriptedFileDialogs files;
    ScriptedProcesses processes;
    RecordingHelpViewer help;
    MemorySettings settings;
    f2 window(PredictServices{&messages, &files, &processes, &help, &settings, appPath, "1.0.0"});
    GraphCommands graphs(window);
    window.Form_Load();
    files.Script(std::filesystem::absolute(argv[2]));
    window.open_Click();
    window.txt_n()->setText(QStringLiteral("1000"));
    window.txt_t()->setText(QStringLiteral("1"));
    graphs.Ccal_Click();
    window.UpDown1()->setValue(9);

    bool ok = SaveWindowShot(window, dir, QStringLiteral("predict_days.png"));
    // Years and months over a longer axis, which reaches the target of 90 %.
    window.Data().TimeAxisMode = 1;
    window.txt_n()->setText(QStringLiteral("6000"));
    window.RepaintGraphs();
    ok &= SaveWindowShot(window, dir, QStringLiteral("predict_years.png"));

    // The layout after New, after a resize and after maximise and restore
    // must be the one the window started with at 800 x 600.
    window.new_Click();
    ok &= SaveWindowShot(window, dir, QStringLiteral("predict_new.png"));
    window.showMaximized();
    QApplication::processEvents();
    window.showNormal();
    QApplication::processEvents();
    ok &= SaveWindowShot(window, dir, QStringLiteral("predict_restored.png"));
    window.resize(1000, 720);
    ok &= SaveWindowShot(window, dir, QStringLiteral("predict_resized.png"));

    Dialog1 options(window.Data(), messages, &window);
    ok &= SaveWindowShot(options, dir, QStringLiteral("predict_options.png"));
    options.hide();
    F1 list(window.Data(), messages, &window, {});
    ok &= SaveWindowShot(list, dir, QStringLiteral("predict_stations.png"));
    list.hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    return RunShots(argc, argv, 3, "<folder> <observation file>", [argv](const QDir& dir) { return Shots(dir, argv); });
}
