#include <gtest/gtest.h>

#include <QFontInfo>
#include <algorithm>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "shell/about.hpp"
#include "shell/pictures.hpp"
#include "shell/splash.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

TEST(AboutBox, CaptionAndTextsOfBothPrograms) {
    struct Case {
        const ShellApp* app;
        std::string version;
        QString caption, title, versionLabel;
        int titleWidth;
    } cases[] = {
        {&KovaApp(), "2.1.0", QStringLiteral("Kovadexのﾊﾞｰｼﾞｮﾝ情報"), QStringLiteral("Kovadex"),
         QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.1.0"), 155},
        {&TolmApp(), "", QStringLiteral("Tolmadexのﾊﾞｰｼﾞｮﾝ情報"), QStringLiteral("Tolmadex"),
         QStringLiteral("ﾊﾞｰｼﾞｮﾝ "), 171},
    };
    for (const Case& c : cases) {
        AboutBox box(*c.app, c.version);
        EXPECT_EQ(box.windowTitle(), c.caption);
        EXPECT_EQ(box.Title()->text(), c.title);
        EXPECT_EQ(box.Platform()->text(), QStringLiteral("for Windows"));
        EXPECT_EQ(box.Version()->text(), c.versionLabel);
        EXPECT_TRUE(box.Notice()->isReadOnly() && !box.Notice()->text().isEmpty());
        EXPECT_EQ(box.size(), QSize(321, 177));  // 4815 x 2655 twips
        EXPECT_EQ(box.Title()->width(), c.titleWidth);
        EXPECT_EQ(box.Ok()->geometry(), QRect(184, 144, 87, 27));
        EXPECT_EQ(QFontInfo(box.Title()->font()).family(), QStringLiteral("IPAPGothic"));
        EXPECT_EQ(QFontInfo(box.Version()->font()).family(), QStringLiteral("IPAGothic"));
        EXPECT_EQ(box.Icon()->pixmap().size(), QSize(32, 32));
    }
    // OK, Enter and Esc close it.
    for (int how = 0; how < 3; ++how) {
        AboutBox box(KovaApp(), "1.0.0");
        test::WhenModal<AboutBox>([how](AboutBox* b) {
            if (how == 0) b->Ok()->click();
            if (how == 1) QTest::keyClick(b, Qt::Key_Return);
            if (how == 2) QTest::keyClick(b, Qt::Key_Escape);
        });
        box.exec();
        EXPECT_FALSE(box.isVisible()) << how;
    }
}

// Pixels near white inside a rectangle: the white label text.
int WhitePixels(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            QColor c = img.pixelColor(x, y);
            n += c.red() > 230 && c.green() > 230 && c.blue() > 230;
        }
    return n;
}

TEST(SplashScreen, TitleAndVersionOfBothProgramsShowAndAnyKeyClosesIt) {
    struct Case {
        const ShellApp* app;
        std::string version;
        QString title, versionLabel;
        int nameX, nameWidth;
    } cases[] = {
        {&KovaApp(), "2.1.0", QStringLiteral("Kovadex"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.1.0"), 39, 242},
        {&TolmApp(), "", QStringLiteral("Tolmadex"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ "), 26, 268},
    };
    for (const Case& c : cases) {
        SplashScreen s(*c.app, c.version);
        EXPECT_EQ(s.size(), QSize(320, 200));
        EXPECT_EQ(s.ProductName()->text(), c.title);
        EXPECT_EQ(s.Version()->text(), c.versionLabel);
        EXPECT_EQ(s.ProductName()->x(), c.nameX);
        EXPECT_EQ(s.ProductName()->width(), c.nameWidth);
        QFont f = s.ProductName()->font();
        EXPECT_TRUE(f.bold() && f.italic());
        EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(s.windowFlags().testFlag(Qt::FramelessWindowHint));
        // The picture is dark where the labels are, so the white text shows.
        QImage img = s.grab().toImage();
        EXPECT_GT(WhitePixels(img, s.ProductName()->geometry()), 40);
        EXPECT_GT(WhitePixels(img, s.Version()->geometry()), 20);
        s.ProductName()->clear();
        s.Version()->clear();
        EXPECT_LT(WhitePixels(s.grab().toImage(), s.ProductName()->geometry()), 5);
    }
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Escape}) {
        SplashScreen s(KovaApp(), "1.0.0");
        s.ShowNow();
        ASSERT_TRUE(s.isVisible());
        QTest::keyClick(&s, key);
        EXPECT_FALSE(s.isVisible()) << key;
    }
}

}  // namespace

namespace {

// The desktop's icons: a tile on a transparent ground at every size, with no
// light frame along its edges and no dark pixel in its corners, which show
// on a dark panel.
TEST(AppIcon, ATileOnATransparentGroundWithoutFrameOrSpecks) {
    for (const ShellApp* app : {&KovaApp(), &TolmApp()}) {
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            SCOPED_TRACE(std::to_string(size));
            const QImage img = AppIconImage(*app, size).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(img.size(), QSize(size, size));
            EXPECT_TRUE(img.hasAlphaChannel());
            const int e = size - 1;
            for (QPoint corner : {QPoint(0, 0), QPoint(e, 0), QPoint(0, e), QPoint(e, e)})
                EXPECT_EQ(qAlpha(img.pixel(corner)), 0) << corner.x() << "," << corner.y();
            // Mid-edge pixels are the picture's own: opaque, and no white frame.
            for (QPoint mid : {QPoint(size / 2, 0), QPoint(0, size / 2), QPoint(e, size / 2), QPoint(size / 2, e)}) {
                const QRgb c = img.pixel(mid);
                EXPECT_EQ(qAlpha(c), 255) << mid.x() << "," << mid.y();
                EXPECT_LT(qGray(c), 200) << mid.x() << "," << mid.y();
            }
            // Every pixel that is only partly there lies in a rounded corner.
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const QRgb c = img.pixel(x, y);
                    if (qAlpha(c) == 255 || qAlpha(c) == 0) continue;
                    const int fromEdgeX = std::min(x, e - x), fromEdgeY = std::min(y, e - y);
                    EXPECT_LT(std::max(fromEdgeX, fromEdgeY), size / 8 + 4) << x << "," << y;
                }
        }
    }
}

}  // namespace
