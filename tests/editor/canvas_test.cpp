// The canvas widget: what an expose shows, the band, the mouse numbers.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "editing/mouse_tools.hpp"
#include "editor/section_canvas.hpp"
#include "platform/qt/screen_qt.hpp"
#include "tests/support/qt_app.hpp"

namespace kova {
namespace {

QColor At(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

struct CanvasFixture : ::testing::Test {
    Model m;
    EditorState ed;
    SectionCanvas canvas;

    void SetUp() override {
        canvas.resize(400, 300);
        canvas.Bind(&m, &ed);
        // 15 twips a metre: one pixel a metre, model (0, 0) at pixel (100, 100).
        ed.ViewScale = 15;
        ed.ViewLeftX = -100;
        ed.ViewTopY = 100;
        m.BndPtCount = 2;
        m.BndPt[0] = {0, 0};
        m.BndPt[1] = {50, 0};
    }
    void Move(double x, double y) {
        ed.CursorX = x;
        ed.CursorY = y;
        canvas.pic_gm_Paint();
    }
    // Pixels of the band colour (cyan by xor over black) along row y.
    int BandPixels(const QImage& img, int y, int x0, int x1) {
        int n = 0;
        for (int x = x0; x <= x1; ++x) n += At(img, x, y) == PaletteQColor(11);
        return n;
    }
};

TEST_F(CanvasFixture, BandMovesOverThePictureAndAnExposeKeepsIt) {
    ed.cmd_mode = 3;
    canvas.pic_gm_Paint();  // full: no chain yet
    const QImage full = canvas.Picture().copy();
    ed.Tool()->picks.SelIndex = 0;  // a chain from point 0
    Move(0, -60);                   // straight down from point 1: pixel column 100, rows 100..160
    Move(30, -60);
    const QImage shown = canvas.ShownImage();
    // The picture itself is untouched; only the shown copy has one band.
    EXPECT_EQ(canvas.Picture(), full);
    EXPECT_EQ(ed.RubberEndX, 30);
    int onDiagonal = 0, onOldBand = 0;
    for (int k = 5; k < 55; ++k) {
        onDiagonal += At(shown, 100 + k / 2, 100 + k) != At(full, 100 + k / 2, 100 + k);
        onOldBand += At(shown, 100, 100 + k) != At(full, 100, 100 + k);
    }
    EXPECT_GT(onDiagonal, 40);
    EXPECT_LT(onOldBand, 5);
    // An expose repaints from the kept picture: same band, same picture.
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    EXPECT_EQ(canvas.grab().toImage().convertToFormat(QImage::Format_RGB32), shown);

    // The zoom tool handing back makes the next repaint full, band gone.
    ed.repaintFullyOnce = true;
    Move(40, -60);
    EXPECT_FALSE(ed.repaintFullyOnce);
    EXPECT_FALSE(canvas.Painter().Band().shown);
    EXPECT_EQ(canvas.ShownImage(), canvas.Picture());
}

// Over every colour of the palette (each layer, block and hatch colour the
// section is drawn in), the band stands out along its whole length: near
// each of its pixels lies one whose grey differs from the ground by half
// the range or more.
TEST_F(CanvasFixture, TheBandShowsOverEveryColour) {
    ed.cmd_mode = 3;
    canvas.pic_gm_Paint();
    ed.Tool()->picks.SelIndex = 0;  // a chain from point 0
    Move(30, -60);                  // from pixel (100, 100) to (130, 160)
    for (int colour = 0; colour < 16; ++colour) {
        QImage ground(canvas.Picture().size(), QImage::Format_RGB32);
        ground.fill(PaletteQColor(colour));
        const QImage shown = canvas.Painter().Shown(ground);
        const int g = qGray(PaletteQColor(colour).rgb());
        int visible = 0;
        for (int k = 2; k < 58; ++k) {
            int best = 0;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    best = std::max(best, std::abs(qGray(shown.pixel(100 + k / 2 + dx, 100 + k + dy)) - g));
            visible += best >= 128;
        }
        EXPECT_EQ(visible, 56) << "colour " << colour;
    }
}

TEST_F(CanvasFixture, ImmediateDrawingStaysUntilTheNextFullRepaint) {
    canvas.pic_gm_Paint();
    const QImage before = canvas.Picture().copy();
    // A line far beyond the int range of pixels is clipped, not bent: only
    // the visible piece of row 250 changes.
    canvas.DrawSegment(-2000000000, 250 * 15, 2000000000, 250 * 15, 14);
    EXPECT_EQ(At(canvas.Picture(), 200, 250), PaletteQColor(14));
    EXPECT_EQ(At(canvas.Picture(), 200, 251), At(before, 200, 251));
    canvas.pic_gm_Paint();
    EXPECT_EQ(canvas.Picture(), before);
}

TEST_F(CanvasFixture, MouseLeavesAsTwipsWithEditorButtonNumbers) {
    QSignalSpy down(&canvas, &SectionCanvas::mouseDown);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    struct Case {
        Qt::MouseButton qt;
        int code;
    };
    for (Case c : {Case{Qt::LeftButton, 1}, Case{Qt::RightButton, 2}, Case{Qt::MiddleButton, 4}}) {
        QTest::mouseClick(&canvas, c.qt, Qt::ShiftModifier, QPoint(10, 20));
        ASSERT_FALSE(down.isEmpty());
        const QList<QVariant> args = down.takeLast();
        EXPECT_EQ(args[0].toInt(), c.code);
        EXPECT_EQ(args[1].toInt(), 1);
        EXPECT_DOUBLE_EQ(args[2].toDouble(), 150);
        EXPECT_DOUBLE_EQ(args[3].toDouble(), 300);
    }
    EXPECT_TRUE(canvas.hasMouseTracking());
}

}  // namespace
}  // namespace kova
