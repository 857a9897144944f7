// Renders KOVACALC's window with the example section, calculated by the
// engine, and the canvas in the states of its tools: the settled surface
// with its labels, a line chain's rubber band, the guides of the point
// tools and selected lines. kova_canvas_shots <folder> <examples folder>.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "editor/main_window.hpp"
#include "tools/shots/editor_shots.hpp"
#include "editing/mouse_tools.hpp"
#include "platform/qt/screen_qt.hpp"
#include "testing/fakes.hpp"
#include "tools/shots/shot_support.hpp"

namespace fs = std::filesystem;

namespace {

bool Save(kova::Form1& form, const QDir& dir, const char* name) {
    QApplication::processEvents();
    return kova::SaveShot(form.grab().toImage(), dir, QString::fromUtf8(name));
}

// The example gains what it lacks for a full picture: a drained clay layer,
// a sheet pile and a strip load.
void Enrich(kova::Model& m) {
    m.DrainMethod[0].Method = 1;
    m.DrainMethod[0].Detail = {1.2, 0.05, 1, 0, 0, 0, 1};
    m.SheetPileCount = 1;
    m.SheetPile[0] = {62, 0.5, -10};
    m.StripLoadCount = 1;
    m.StripLoad[0] = {32, 4, 48, 4, 15, 2};
}

// Lets the shot be taken while a question is up, as the user sees it.
class ShotMessages : public kova::RecordingMessages {
public:
    kova::MsgAnswer Show(const kova::Message& m) override {
        if (onShow) onShow(m);
        return RecordingMessages::Show(m);
    }
    std::function<void(const kova::Message&)> onShow;
};

bool Shots(const QDir& out, char** argv) {
    QApplication::setFont(kova::FormFont("ＭＳ Ｐゴシック", 9));
    kova::ShotServices shot;
    ShotMessages msg;
    kova::EditorDeps deps = shot.Deps(msg);
    // The conditions as the example holds them; no modal dialog offscreen.
    deps.showConditions = [](kova::Form1&) { return true; };

    kova::Form1 form(deps);
    if (!form.Load()) return false;
    form.show();
    shot.files.Script(fs::path(argv[2]) / "road_embankment.kov");
    form.OpenProject();
    Enrich(form.SectionModel());
    form.Calculate();
    if (QAction* t = form.MenuAction("t_dsp")) t->setChecked(true);
    form.ToggleSettledSurface();
    bool ok = Save(form, out, "editor_section.png");

    kova::ToolHost& tools = form.CanvasTools();
    kova::EditorState& ed = form.State();
    // The prompts are those the tool palettes put into panel 1.
    auto tool = [&](int mode, const char* prompt) {
        ed.ClearSelection();
        ed.cmd_mode = mode;
        form.SetStatusText(1, prompt);
        QApplication::processEvents();  // the status bar settles its height
    };
    // The tools' states show plainer without the results over them.
    if (QAction* t = form.MenuAction("t_dsp")) t->trigger();
    // A chain from the embankment's toe with the band to the cursor (over a
    // fill the band shows the fill's exclusive-or).
    tool(3, "境界線追加＞始点～終点を指定してください ");
    tools.Press({20, 0, 1, false});
    tools.Move({38, 14, 0, false});
    ok = Save(form, out, "editor_band.png") && ok;
    tools.Press({0, 0, 2, false});

    // Foot of the perpendicular: the guide cross of the base point, then the
    // perpendicular onto the picked slope, shot while the new point is asked.
    tool(20, "交点計算＞基準点を指定してください");
    tools.Press({30, 4, 1, false});
    ok = Save(form, out, "editor_guide_cross.png") && ok;
    msg.onShow = [&](const kova::Message& m) {
        if (m.text == "交点を作成します") ok = Save(form, out, "editor_guide_perpendicular.png") && ok;
    };
    tools.Press({57, 1, 1, false});
    msg.onShow = nullptr;

    // Lines picked for deletion, then a terrain line in the terrain tool.
    tool(4, "境界線削除＞削除する境界線を指定してください ");
    tools.Press({10, 0, 1, false});
    tools.Press({52, 3, 1, false});
    ok = Save(form, out, "editor_selection.png") && ok;
    tool(9, "施工前地形線削除＞削除する線分を指定してください ");
    tools.Press({75, 1.5, 1, false});
    ok = Save(form, out, "editor_selection_terrain.png") && ok;

    for (const kova::Message& m : msg.shown) std::printf("message: %s\n", m.text.c_str());
    form.close();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    return kova::RunShots(argc, argv, 3, "<folder> <examples folder>", [argv](const QDir& out) { return Shots(out, argv); });
}
