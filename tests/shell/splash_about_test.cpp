#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "shell/about.hpp"
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
        EXPECT_EQ(box.Ok()->text(), QStringLiteral("OK"));
        EXPECT_FALSE(box.Notice()->text().isEmpty());
        EXPECT_TRUE(box.Notice()->isReadOnly());
        // Client 4815 x 2655 twips at 15 twips a pixel (321 x 177).
        EXPECT_EQ(box.size(), QSize(321, 177));
        EXPECT_EQ(box.Title()->x(), 100);
        EXPECT_EQ(box.Title()->width(), c.titleWidth);
        EXPECT_EQ(box.Ok()->geometry(), QRect(184, 144, 87, 27));
        EXPECT_EQ(QFontInfo(box.Title()->font()).family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(box.Title()->font().bold());
        EXPECT_EQ(QFontInfo(box.Version()->font()).family(), QStringLiteral("IPAGothic"));
        EXPECT_FALSE(box.Icon()->pixmap().isNull());
        EXPECT_EQ(box.Icon()->pixmap().size(), QSize(32, 32));
    }
}

TEST(AboutBox, OkEnterAndEscCloseIt) {
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
            if (c.red() > 230 && c.green() > 230 && c.blue() > 230) ++n;
        }
    return n;
}

TEST(SplashScreen, TitleAndVersionOfBothPrograms) {
    struct Case {
        const ShellApp* app;
        std::string version;
        QString title, versionLabel;
        QRect nameRect;
    } cases[] = {
        {&KovaApp(), "2.1.0", QStringLiteral("Kovadex"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.1.0"), QRect(39, 54, 242, 24)},
        {&TolmApp(), "", QStringLiteral("Tolmadex"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ "), QRect(26, 54, 268, 24)},
    };
    for (const Case& c : cases) {
        SplashScreen s(*c.app, c.version);
        EXPECT_EQ(s.size(), QSize(320, 200));
        EXPECT_EQ(s.ProductName()->text(), c.title);
        EXPECT_EQ(s.Version()->text(), c.versionLabel);
        EXPECT_EQ(s.ProductName()->x(), c.nameRect.x());
        EXPECT_EQ(s.ProductName()->width(), c.nameRect.width());
        EXPECT_EQ(s.Version()->geometry().left(), 200);
        QFont f = s.ProductName()->font();
        EXPECT_TRUE(f.bold() && f.italic());
        EXPECT_DOUBLE_EQ(f.pointSizeF(), 18);
        EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(s.windowFlags().testFlag(Qt::FramelessWindowHint));

        // The picture is dark where the labels are, so the white text shows.
        QImage img = s.grab().toImage();
        QImage bare = SplashScreen(*c.app, c.version).grab().toImage();
        EXPECT_GT(WhitePixels(img, s.ProductName()->geometry()), 40);
        EXPECT_GT(WhitePixels(img, s.Version()->geometry()), 20);
        s.ProductName()->clear();
        s.Version()->clear();
        QImage empty = s.grab().toImage();
        EXPECT_LT(WhitePixels(empty, s.ProductName()->geometry()), 5);
        EXPECT_LT(WhitePixels(empty, s.Version()->geometry()), 5);
        EXPECT_EQ(img, bare);
    }
}

TEST(SplashScreen, AnyKeyClosesIt) {
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Escape}) {
        SplashScreen s(KovaApp(), "1.0.0");
        s.ShowNow();
        ASSERT_TRUE(s.isVisible());
        QTest::keyClick(&s, key);
        EXPECT_FALSE(s.isVisible()) << key;
    }
}

}  // namespace
