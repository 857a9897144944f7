#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "platform/qt/picture_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

int CountColour(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c) ++n;
    return n;
}

int CountDark(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y).value() < 128) ++n;
    return n;
}

TEST(QtPicture, DrawsInTwipsWithPensAndFill) {
    QImage img(200, 100, QImage::Format_RGB32);
    QtPicture p(img, TwipsScale{}, FormFont("ＭＳ Ｐゴシック", 9));
    EXPECT_DOUBLE_EQ(p.Width(), 3000);
    EXPECT_DOUBLE_EQ(p.Height(), 1500);
    p.SetBackPalette(15);
    p.SetForePalette(12);
    p.Line(0, 150, 3000, 150);  // y 10 px, the whole width
    p.SetForePalette(9);
    p.SetLineStyle(LineStyle::Dotted);
    p.Line(0, 600, 3000, 600);  // y 40 px, dotted
    p.SetLineStyle(LineStyle::Solid);
    p.SetForePalette(0);
    p.SetFill(true, PaletteColour(4));
    p.Circle(1500, 1200, 150);  // radius 10 px at (100, 80)
    p.SetFill(false, PaletteColour(0));
    p.Text(30, 900, "あ1");  // (2, 60) px

    for (int x = 0; x < 200; ++x) ASSERT_EQ(img.pixelColor(x, 10), QColor(255, 0, 0)) << x;
    const int blue = CountColour(img.copy(0, 40, 200, 1), QColor(0, 0, 255));
    EXPECT_GT(blue, 40);
    EXPECT_LT(blue, 160);                                   // dotted: gaps between the dots
    EXPECT_EQ(img.pixelColor(100, 80), QColor(128, 0, 0));  // filled inside
    EXPECT_EQ(img.pixelColor(100, 70), QColor(0, 0, 0));    // outline on top
    EXPECT_GT(CountDark(img.copy(0, 60, 40, 20)), 10);      // the text
}

TEST(QtPicture, FarOffLinesDrawQuickly) {
    QImage img(400, 300, QImage::Format_RGB32);
    QtPicture p(img, TwipsScale{}, FormFont("ＭＳ Ｐゴシック", 9));
    p.SetBackPalette(15);
    p.SetLineStyle(LineStyle::Dotted);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 200; ++i) {
        p.Line(700, 350, 700 + 1e12, 350 + i);
        p.Line(-1e300, 1e300, 1e300, -1e300);
        p.Circle(1e15, 0, 40);
    }
    EXPECT_LT(t.elapsed(), 5000);  // a guard against hanging, not a benchmark
    EXPECT_EQ(img.pixelColor(399, 299), QColor(255, 255, 255));
}

TEST(PictureBoxWidget, DrawsAtRefreshAndResizeAndReportsOncePerRefresh) {
    PictureBoxWidget box;
    box.resize(100, 50);
    int faults = 0;
    bool fail = false;
    box.SetDraw([&](Picture& p) {
        p.SetBackPalette(15);
        p.SetForePalette(12);
        p.Line(0, 0, p.Width(), 0);
        return !fail;
    });
    box.SetFaultHandler([&] { ++faults; });
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.RequestRefresh();
    EXPECT_EQ(box.Image().pixelColor(50, 0), QColor(255, 0, 0));
    EXPECT_EQ(faults, 0);

    fail = true;
    box.RequestRefresh();
    EXPECT_EQ(faults, 1);
    const int renders = box.RenderCount();
    box.repaint();  // a plain repaint shows the image only
    QCoreApplication::processEvents();
    EXPECT_EQ(box.RenderCount(), renders);
    EXPECT_EQ(faults, 1);
    box.resize(120, 60);  // redrawn, but the fault is not told again
    EXPECT_GT(box.RenderCount(), renders);
    EXPECT_EQ(box.Image().size(), QSize(120, 60));
    EXPECT_EQ(faults, 1);
}

// Draws one line of the given pen width on the given surface, with the
// line's ends far outside the box, into a fresh image.
QImage LineOfWidth(QtPicture::Surface surface, int width) {
    QImage img(300, 240, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (surface == QtPicture::Surface::Screen) {
        QtPicture p(img, TwipsScale{}, FormFont("ＭＳ Ｐゴシック", 9));
        p.SetLineWidth(width);
        p.Line(-1e9, 1800, 1e9, 1800);
        p.Line(2250, -1e9, 2250, 1e9);
    } else {
        QPainter painter(&img);
        QtPicture p(painter, 300, 240, surface);
        p.SetLineWidth(width);
        p.Line(-1e9, 120, 1e9, 120);
        p.Line(150, -1e9, 150, 1e9);
    }
    return img;
}

// Both surfaces take any pen width a file may hold: below 1 draws as 1, a
// screen box draws at most 100 pixels, a page tells only thin (1) from
// thick (2 and more); wider pens draw more, and lines far past the box
// draw as the part inside it.
TEST(QtPicture, PenWidthsOfBothSurfacesAndFarEnds) {
    const struct {
        QtPicture::Surface surface;
        int width, drawsAs;
    } cases[] = {
        {QtPicture::Surface::Screen, 0, 1}, {QtPicture::Surface::Screen, -7, 1},
        {QtPicture::Surface::Screen, 3, 3}, {QtPicture::Surface::Screen, 1000, 100},
        {QtPicture::Surface::Page, 0, 1},   {QtPicture::Surface::Page, -7, 1},
        {QtPicture::Surface::Page, 3, 2},   {QtPicture::Surface::Page, 1000, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.surface) << " width " << c.width);
        const QImage img = LineOfWidth(c.surface, c.width);
        EXPECT_EQ(img, LineOfWidth(c.surface, c.drawsAs));
        EXPECT_GT(CountDark(img), 0);
        if (c.drawsAs > 1) {
            EXPECT_GT(CountDark(img), CountDark(LineOfWidth(c.surface, 1)));
        }
    }
}

}  // namespace
