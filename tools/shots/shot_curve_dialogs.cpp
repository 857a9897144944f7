// Renders the edit-tool palettes, the soil-curve, sand-curve and
// ground-improvement dialogs and what OK says of a curve that cannot be used,
// with a realistic section, to PNG files so that a person can check them:
// kova_curve_shots <folder>.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "dialogs/dialog11.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog8.hpp"
#include "dialogs/tool_palettes.hpp"
#include "model/reset.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "rules/settle_methods.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "tools/shots/shot_support.hpp"

namespace {

using namespace kova;

using test::FakeEditorHost;

// A section of two clay layers over sand, with measured curves for the
// upper clay and drains in it.
void Section(Model& m) {
    m.SoilLayerCount = 3;
    const char* names[] = {"Ac1 沖積粘土（上部）", "As 沖積砂層", "Ac2 沖積粘土（下部）"};
    for (int i = 0; i < 3; ++i) {
        m.SoilLayer[i].Name = names[i];
        m.SoilParam[i].SoilType = i == 1 ? 1 : 0;
        m.SoilLayer[i].UnitWeight = i == 1 ? 18 : 16;
    }
    const double p[] = {10, 20, 40, 80, 160, 320, 640};
    const double e[] = {2.45, 2.41, 2.31, 2.08, 1.77, 1.46, 1.18};
    const double mv[] = {0.0035, 0.0028, 0.0021, 0.0014, 0.00085, 0.0005, 0.00028};
    const double cv[] = {160, 130, 95, 72, 61, 55, 50};
    for (int layer : {0, 2}) {
        CurveTable& a = m.ELogPCurve[layer];
        CurveTable& b = m.MvCurve[layer];
        CurveTable& c = m.CvCurve[layer];
        a.n = b.n = c.n = layer == 0 ? 7 : 0;
        for (int k = 0; k < 7; ++k) {
            a.X[k] = b.X[k] = c.X[k] = p[k] * 0.1;  // held as one tenth
            a.Y[k] = e[k];
            b.Y[k] = mv[k] * 10;  // held as ten times
            c.Y[k] = cv[k];
        }
    }
    m.DrainMethod[0] = {1, {1.2, 0.05, 1, 0.000012, 3, 0.2, 0.714}};
    m.DrainMethod[2] = {2, {1.5, 0.05, 1, 0, 0, 0, 1}};
}

bool Shot(QWidget& w, const QDir& dir, const QString& name) {
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    return SaveWindowShot(w, dir, name);
}

bool Shots(const QDir& dir) {
    QApplication::setFont(FormFont("ＭＳ Ｐゴシック", 9));
    FakeEditorHost host;
    host.origin = {0, 0};  // the windows open at the screen's corner
    host.appPath = KOVA_BIN_DIR;
    Section(host.SectionModel());
    RecordingMessages quiet;
    ReadSandCurveFile(host.appPath, host.SectionModel().BKHoughCurve, quiet);

    bool ok = true;
    {
        Dialog2 p(host, nullptr);
        ok &= Shot(p, dir, "palette_lines.png");
    }
    {
        Dialog3 p(host, nullptr);
        p.Option(1)->setChecked(true);
        ok &= Shot(p, dir, "palette_blocks.png");
    }
    {
        Dialog9 p(host, nullptr);
        ok &= Shot(p, dir, "palette_terrain.png");
    }
    {
        Dialog14 p(host, nullptr);
        ok &= Shot(p, dir, "palette_points.png");
    }
    for (int col : {2, 3, 4}) {
        Dialog5 d(host, nullptr);
        d.show();
        d.Qflg_YD()->setCurrentCell(0, col);
        const char* names[] = {"", "", "dialog5_elogp.png", "dialog5_mv.png", "dialog5_cv.png"};
        ok &= Shot(d, dir, names[col]);
    }
    {
        Dialog8 d(host, nullptr);
        ok &= Shot(d, dir, "dialog8.png");
    }
    {
        Dialog11 d(host, nullptr);
        ok &= Shot(d, dir, "dialog11.png");
    }
    // What OK says of a curve the calculation cannot use: the soil constants
    // of Ac2 (no e-logP point), the sand rows cut to one under a B.K.Hough
    // layer, and the sand layer whose e-logP method reads no curve.
    const QtMessages boxes("Kovadex");
    const auto okMessage = [&](QDialog& d, const QString& name) {
        host.messages.Clear();
        d.show();
        if (auto* c = dynamic_cast<CommitDialog*>(&d)) c->OkClicked();
        else if (auto* l = dynamic_cast<LiveEditDialog*>(&d)) l->OkClicked();
        if (host.messages.Count() == 0) return false;
        std::unique_ptr<QMessageBox> box(boxes.Build(host.messages.Last(), nullptr));
        return SaveWindowShot(*box, dir, name);
    };
    {
        Dialog5 d(host, nullptr);
        ok &= okMessage(d, "dialog5_ok_no_points.png");
    }
    {
        Dialog4 d(host, nullptr);
        ok &= okMessage(d, "dialog4_ok_sand_method.png");
    }
    host.SectionModel().SoilParam[1].SettleMethod = kMethodHough;
    for (CurveTable& c : host.SectionModel().BKHoughCurve) c.n = std::min<i16>(c.n, 1);
    {
        Dialog8 d(host, nullptr);
        ok &= okMessage(d, "dialog8_ok_one_row.png");
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) { return RunShots(argc, argv, 2, "<folder>", Shots); }
