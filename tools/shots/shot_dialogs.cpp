// Renders every data dialog of this folder with realistic Japanese data to
// PNG files so that a person can check texts and columns:
// kova_dialog_shots <folder>. Runs without a display.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "tools/shots/shot_support.hpp"

namespace {

using namespace kova;

using test::FakeEditorHost;

// A section as an engineer would enter it: a two-stage embankment on soft
// alluvial clay over sand.
void FillSection(Model& m) {
    const double pts[][2] = {{-40, 0},     {-12.5, 0},    {-7.25, 3.5},  {7.25, 3.5},    {12.5, 0},
                             {40, 0},      {-40, -4.2},   {40, -4.2},    {-40, -11.85},  {40, -11.85},
                             {-40, -18.0}, {40, -18.0},   {-4.5, 5.75},  {4.5, 5.75},    {-1234.567, -987.654}};
    m.BndPtCount = 15;
    for (int i = 0; i < m.BndPtCount; ++i) {
        m.BndPt[static_cast<std::size_t>(i)].X = pts[i][0];
        m.BndPt[static_cast<std::size_t>(i)].Y = pts[i][1];
    }
    const char* embankments[] = {"一次盛土（本体）", "二次盛土（余盛り）", "押え盛土 右側"};
    const double weights[] = {18.5, 19.0, 17.65};
    m.EmbankmentCount = 3;
    for (int i = 0; i < 3; ++i) {
        m.Embankment[static_cast<std::size_t>(i)].Name = embankments[i];
        m.Embankment[static_cast<std::size_t>(i)].UnitWeight = weights[i];
        m.Embankment[static_cast<std::size_t>(i)].Stage = static_cast<i16>(i + 1);
    }
    m.StageCount = 3;
    const char* layers[] = {"表層 砂質シルト As", "沖積粘土層 Ac1", "沖積粘土層 Ac2", "洪積砂層 Ds"};
    const i16 types[] = {1, 0, 0, 1}, methods[] = {3, 0, 1, 4}, drains[] = {0, 1, 0, 0}, nvals[] = {6, 2, 3, 35};
    const double lw[] = {8.5, 6.2, 6.8, 10.0}, cc[] = {0, 0.875, 1.125, 0};
    m.SoilLayerCount = 4;
    for (int i = 0; i < 4; ++i) {
        m.SoilLayer[static_cast<std::size_t>(i)].Name = layers[i];
        m.SoilLayer[static_cast<std::size_t>(i)].UnitWeight = lw[i];
        m.SoilParam[static_cast<std::size_t>(i)] = SoilParamRec{types[i], methods[i], drains[i], cc[i], 0, 0, nvals[i]};
    }
    m.CutCount = 2;
    m.CutBlock[0].Name = "既設道路 切土部";
    m.CutBlock[0].UnitWeight = 18.0;
    m.CutBlock[1].Name = "水路掘削";
    m.CutBlock[1].UnitWeight = 17.5;
    m.Cond.ProjectTitle = "国道１２３号 軟弱地盤対策検討業務（Ｎｏ．１５＋２０）";
    const char* pos[] = {"盛土中央", "のり肩（左）", "のり尻（左）", "民家境界", "水路"};
    const double px[] = {0, -7.25, -12.5, -25.0, 31.125};
    m.CalcPosCount = 5;
    for (int i = 0; i < 5; ++i) {
        m.Cond.CalcPosName[static_cast<std::size_t>(i)] = pos[i];
        m.Cond.CalcPosX[static_cast<std::size_t>(i)] = px[i];
    }
    m.StageStartDay = {0, 90, 240, 0, 0, 0};
    m.StageDays = {30, 45, 60, 0, 0, 0};
    m.PointLoadCount = 1;
    m.PointLoad[0] = {-20.0, 0.0, -20.0, 0.0, 150.0, 1};
    m.LineLoadCount = 2;
    m.LineLoad[0] = {15.5, 0.0, 15.5, 0.0, 12.5, 2};
    m.LineLoad[1] = {-15.5, 0.0, -15.5, 0.0, 12.5, 2};
    m.StripLoadCount = 1;
    m.StripLoad[0] = {-3.5, 5.75, 3.5, 5.75, 10.0, 3};
    m.SheetPileCount = 2;
    m.SheetPile[0] = {-14.0, 1.0, -12.0};
    m.SheetPile[1] = {14.0, 1.0, -12.0};
}


bool Save(QWidget& w, const QDir& dir, const QString& name) {
    const bool ok = SaveWindowShot(w, dir, name);
    w.hide();
    return ok;
}

// One data dialog on the section, as it opens.
template <class D>
bool Shot(FakeEditorHost& host, const QDir& dir, const char* name) {
    D d(host, nullptr);
    return Save(d, dir, name);
}

bool Shots(const QDir& dir) {
    FakeEditorHost host;
    host.origin = {0, 0};  // the windows open at the screen's corner
    FillSection(*host.model);
    bool ok = true;
    ok &= Shot<Dialog0>(host, dir, "dialog0_points.png");
    ok &= Shot<Dialog1>(host, dir, "dialog1_embankments.png");
    ok &= Shot<Dialog4>(host, dir, "dialog4_layers.png");
    ok &= Shot<Dialog6>(host, dir, "dialog6_stages.png");
    ok &= Shot<Dialog7>(host, dir, "dialog7_positions.png");
    ok &= Shot<Dialog10>(host, dir, "dialog10_cuts.png");
    ok &= Shot<Dialog12>(host, dir, "dialog12_loads.png");
    ok &= Shot<Dialog13>(host, dir, "dialog13_conditions.png");
    ok &= Shot<Dialog15>(host, dir, "dialog15_walls.png");
    {
        // The duplicate-point message of the point table.
        QtMessages boxes("Kovadex");
        std::unique_ptr<QMessageBox> box(boxes.Build(
            Message{"同一座標の境界点が存在します。\r\r           3=7", "", MsgIcon::Exclamation, MsgButtons::Ok, 0}, nullptr));
        ok &= Save(*box, dir, "dialog0_duplicate_message.png");
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) { return RunShots(argc, argv, 2, "<folder>", Shots); }
