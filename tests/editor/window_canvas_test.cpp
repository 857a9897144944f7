// The canvas in the real main window: clicks through the mouse, the scroll
// bars and the zoom buttons, and a section built with the mouse and
// calculated by the real engine.
#include <QAction>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "editor/canvas_wiring.hpp"
#include "editing/mouse_tools.hpp"
#include "editor/section_canvas.hpp"
#include "platform/qt/screen_qt.hpp"
#include "tests/editor/editor_fixture.hpp"

namespace kova::test {
namespace {

class WindowCanvas : public EditorFixture {
protected:
    SectionCanvas& Canvas() { return *qobject_cast<SectionCanvas*>(form->Canvas()); }
    // The pixel of a model point on the canvas.
    QPoint Pixel(double x, double y) {
        const EditorState& ed = form->State();
        return QPoint(static_cast<int>(std::lround((x - ed.ViewLeftX) * ed.ViewScale / 15)),
                      static_cast<int>(std::lround((ed.ViewTopY - y) * ed.ViewScale / 15)));
    }
    void ClickAt(double x, double y, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(&Canvas(), b, Qt::NoModifier, Pixel(x, y));
    }
    // A move with no button held, straight to the canvas.
    void MoveTo(double x, double y) {
        const QPointF p = Pixel(x, y);
        QMouseEvent e(QEvent::MouseMove, p, Canvas().mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&Canvas(), &e);
    }
    QColor Shown(double x, double y) { return Canvas().Picture().pixelColor(Pixel(x, y)); }
    // A square of four points and lines, fitted into view.
    void Square() {
        for (auto [x, y] : {std::pair{0.0, 0.0}, {20.0, 0.0}, {20.0, -10.0}, {0.0, -10.0}}) AddPoint(x, y);
        form->ToolbarButton(kToolWholeView)->trigger();
    }
};

TEST_F(WindowCanvas, ClicksDrawLinesRegisterALayerAndDeleteALine) {
    Start();
    ASSERT_NE(qobject_cast<SectionCanvas*>(form->Canvas()), nullptr);
    Square();
    Model& m = form->SectionModel();
    EditorState& ed = form->State();
    ed.cmd_mode = 3;
    for (auto [x, y] : {std::pair{0.5, 0.5}, {20.0, 0.0}, {20.0, -10.0}, {0.0, -10.0}, {0.0, 0.0}}) ClickAt(x, y);
    ClickAt(5, 5, Qt::RightButton);
    ASSERT_EQ(m.BndLineCount, 4);
    EXPECT_EQ(Shown(10, 0), PaletteQColor(11));
    // The cursor read-out follows the mouse.
    QTest::mouseMove(&Canvas(), Pixel(5, -5));
    EXPECT_NEAR(ed.CursorX, 5, 0.1);
    EXPECT_NEAR(ed.CursorY, -5, 0.1);
    EXPECT_EQ(form->StatusText(2), CursorReadout(ed.CursorX, ed.CursorY));
    EXPECT_EQ(form->StatusText(2).substr(0, 7), "X:   5.");

    ed.cmd_mode = 6;
    ClickAt(8, -4);
    ASSERT_EQ(m.SoilLayerCount, 1);
    EXPECT_EQ(m.SoilLayer[0].nPt, 4);
    EXPECT_EQ(Shown(8, -6), PaletteQColor(4));  // clay without drains

    ed.cmd_mode = 4;
    ClickAt(10, 0.3);
    EXPECT_EQ(ed.SelCount, 1);
    EXPECT_EQ(Shown(10, 0), PaletteQColor(14));
    ClickAt(10, 0.3, Qt::RightButton);  // the question's default is OK
    EXPECT_EQ(msg.Last().text, "選択した要素を削除しますか？");
    EXPECT_EQ(m.BndLineCount, 3);
    EXPECT_NE(Shown(10, 0), PaletteQColor(11));
}

TEST_F(WindowCanvas, ScrollBarsPanAndZoomButtonsZoomAtTheClick) {
    Start();
    Square();
    EditorState& ed = form->State();
    ed.cmd_mode = 3;
    const double left = ed.ViewLeftX, top = ed.ViewTopY, scale = ed.ViewScale;
    form->HScroll()->setValue(3);
    EXPECT_DOUBLE_EQ(ed.ViewLeftX, left + 600 / scale);
    form->VScroll()->setValue(-1);
    EXPECT_DOUBLE_EQ(ed.ViewTopY, top + 200 / scale);
    EXPECT_EQ(ed.cmd_mode, 3);

    form->ToolbarButton(kToolZoomIn)->trigger();
    EXPECT_EQ(ed.cmd_mode, 1);
    EXPECT_EQ(ed.old_mode, 3);
    EXPECT_TRUE(form->ToolbarButton(kToolZoomIn)->isChecked());
    ClickAt(10, -5);
    EXPECT_DOUBLE_EQ(ed.ViewScale, scale * 1.35);
    EXPECT_EQ(form->HScroll()->value(), 0);
    EXPECT_NEAR(ed.ViewLeftX + ed.CanvasWidth / 2.0 / ed.ViewScale, 10, 0.1);
    form->ToolbarButton(kToolZoomOut)->trigger();
    ClickAt(10, -5);
    EXPECT_NEAR(ed.ViewScale, scale * 1.35 * 0.741, 1e-9);

    form->ToolbarButton(kToolWholeView)->trigger();
    EXPECT_EQ(ed.cmd_mode, 3);
    EXPECT_FALSE(form->ToolbarButton(kToolZoomOut)->isChecked());
    EXPECT_DOUBLE_EQ(ed.ViewScale, scale);
}

TEST_F(WindowCanvas, AScrollRepaintsWithoutGuidesOrBand) {
    Start();
    Square();
    EditorState& ed = form->State();
    auto guide = [&] {
        const QImage& img = Canvas().Picture();
        const int x = Pixel(20, 0).x();
        int n = 0;
        for (int y = 0; y < img.height(); ++y) n += img.pixelColor(x, y) == PaletteQColor(14);
        return n;
    };
    ed.cmd_mode = 18;
    ClickAt(20, 0);
    EXPECT_GT(guide(), 50);
    form->HScroll()->setValue(1);
    EXPECT_EQ(guide(), 0);
    EXPECT_EQ(ed.cmd_mode, 18);

    form->HScroll()->setValue(0);
    ed.ClearSelection();
    ed.cmd_mode = 3;
    ClickAt(0, 0);
    MoveTo(10, 10);
    EXPECT_TRUE(Canvas().Painter().Band().shown);
    EXPECT_NE(Canvas().ShownImage(), Canvas().Picture());
    form->VScroll()->setValue(1);
    EXPECT_EQ(Canvas().ShownImage(), Canvas().Picture());
    // The next move brings the band back.
    MoveTo(12, 10);
    EXPECT_NE(Canvas().ShownImage(), Canvas().Picture());
}

}  // namespace
}  // namespace kova::test

namespace kova::test {
namespace {

class CanvasEndToEnd : public WindowCanvas {
protected:
    int CountNear(QRect r, int colour) {
        const QImage& img = Canvas().Picture();
        const QColor c = PaletteQColor(colour);
        int n = 0;
        for (int y = std::max(0, r.top()); y <= std::min(img.height() - 1, r.bottom()); ++y)
            for (int x = std::max(0, r.left()); x <= std::min(img.width() - 1, r.right()); ++x) {
                const QColor q = img.pixelColor(x, y);
                // Antialiased text keeps the colour's hue at any strength.
                const double k = std::max({q.red(), q.green(), q.blue()}) / 255.0;
                n += k > 0.75 && std::abs(q.red() - c.red() * k) < 30 && std::abs(q.green() - c.green() * k) < 30 &&
                     std::abs(q.blue() - c.blue() * k) < 30;
            }
        return n;
    }
    static void Clay(Model& m, int i) {
        const auto k = static_cast<std::size_t>(i);
        m.SoilParam[k] = SoilParamRec{};
        SetCurve(m.ELogPCurve[k], {{1, 2.4}, {2, 2.3}, {4, 2.15}, {8, 1.95}, {16, 1.7}, {32, 1.45}});
        SetCurve(m.CvCurve[k], {{1, 120}, {2, 110}, {4, 100}, {8, 90}, {16, 80}});
        m.SoilLayer[k].Name = i == 0 ? "Ac1 粘土" : "Ac2 粘土";
        m.SoilLayer[k].UnitWeight = 15;
    }
    static void SetCurve(CurveTable& c, std::initializer_list<std::pair<double, double>> pts) {
        c.n = 0;
        for (auto [x, y] : pts) {
            c.X[static_cast<std::size_t>(c.n)] = x;
            c.Y[static_cast<std::size_t>(c.n++)] = y;
        }
    }
};

// A drawing imported through the window, its section finished with the
// mouse, calculated by the real engine, the results shown on the canvas.
TEST_F(CanvasEndToEnd, DxfSectionBuiltWithTheMouseCalculatesAndShowsItsSettlement) {
    engine = fs::path(KOVA_BIN_DIR) / "SETLCORE";
    Start();
    files.Script(fs::path(KOVA_TEST_DATA) / "dxf" / "section_r2000.dxf");
    form->MenuAction("dxf_open")->trigger();
    Model& m = form->SectionModel();
    EditorState& ed = form->State();
    ASSERT_GT(m.BndPtCount, 10);
    const int lines = m.BndLineCount;
    // The whole drawing holds a symbol far above the section: zoomed in on
    // the section twice, as a user would.
    for (int k = 0; k < 2; ++k) {
        form->ToolbarButton(kToolZoomIn)->trigger();
        ClickAt(0, -5);
    }
    ed.cmd_mode = 0;

    // The layer boundary deleted and drawn again.
    ed.cmd_mode = 4;
    ClickAt(0, -10);
    ClickAt(0, -10, Qt::RightButton);
    ASSERT_EQ(m.BndLineCount, lines - 1);
    ed.cmd_mode = 3;
    ClickAt(-49, -10);
    ClickAt(49, -10.5);
    ClickAt(0, 0, Qt::RightButton);
    ASSERT_EQ(m.BndLineCount, lines);

    // Two clay layers and the embankment, by clicks inside their regions.
    ed.cmd_mode = 6;
    ClickAt(0, -5);
    ClickAt(0, -15);
    ed.cmd_mode = 5;
    ClickAt(0, 2);
    ASSERT_EQ(m.SoilLayerCount, 2);
    ASSERT_EQ(m.EmbankmentCount, 1);
    EXPECT_EQ(Shown(13, -7), PaletteQColor(4));
    EXPECT_EQ(Shown(7, 0.8), PaletteQColor(7));
    Clay(m, 0);
    Clay(m, 1);
    m.Embankment[0].Name = "盛土";
    m.Embankment[0].UnitWeight = 19;
    m.StageDays[0] = 30;
    m.CalcPosCount = 1;
    m.Cond.CalcPosName[0] = "測点１";
    m.Cond.CalcPosX[0] = 0;

    msg.Clear();
    form->MenuAction("cal_tnk")->trigger();
    // Only the question whether to save first (answered No).
    ASSERT_EQ(msg.Count(), 1u) << msg.Last().text;
    EXPECT_EQ(msg.Last().buttons, MsgButtons::YesNoCancel);
    ASSERT_TRUE(form->GetSession().resultsReady);
    const double v = m.CalcPosResult[0].v;
    EXPECT_GT(v, 0.05);

    // The menu item starts checked: the value 300 twips above the bottom
    // edge, the surface as dots at y - v.
    ASSERT_TRUE(form->MenuAction("t_dsp")->isChecked());
    const QRect label(Pixel(0, 0).x() + 3, Canvas().height() - 20, 45, 14);
    EXPECT_GT(CountNear(label, 12), 10);
    const ResultRow* under = nullptr;
    for (const ResultRow& r : m.SettledSurface)
        if (std::fabs(r.x) < 2 && r.v > 0.01) under = &r;
    ASSERT_NE(under, nullptr);
    const QPoint dot = Pixel(under->x, under->y - under->v);
    EXPECT_GT(CountNear(QRect(dot.x() - 1, dot.y() - 1, 3, 3), 12), 0);
    // Unchecked, neither shows.
    form->MenuAction("t_dsp")->trigger();
    EXPECT_EQ(CountNear(label, 12), 0);
    EXPECT_EQ(CountNear(QRect(dot.x() - 1, dot.y() - 1, 3, 3), 12), 0);
}

}  // namespace
}  // namespace kova::test
