#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

TEST(ScreenTwips, TheTestScreenHas15TwipsAPixel) {
    TwipsScale s = ScreenTwips();
    EXPECT_DOUBLE_EQ(s.perPixelX, 15);
    EXPECT_EQ(TwipsRect(s, 585, 810, 3630, 360), QRect(39, 54, 242, 24));
}

TEST(FormFont, FormFacesMapToInstalledJapaneseFonts) {
    QFont p = FormFont("ＭＳ Ｐゴシック", 11.25, true);
    EXPECT_EQ(QFontInfo(p).family(), QStringLiteral("IPAPGothic"));
    EXPECT_DOUBLE_EQ(p.pointSizeF(), 11.25);
    EXPECT_TRUE(p.bold());
    EXPECT_EQ(QFontInfo(FormFont("ＭＳ ゴシック", 9)).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(FormFont("Impact", 11.25).stretch(), QFont::Condensed);
}

TEST(QtText, LineBreaksAndLiteralCaptions) {
    EXPECT_EQ(DisplayText("a\rb\r\nc\nd"), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(LiteralCaption("/d/R&D/a.kov"), QStringLiteral("/d/R&&D/a.kov"));
    EXPECT_EQ(U(Q("ﾊﾞｰｼﾞｮﾝ 無題")), "ﾊﾞｰｼﾞｮﾝ 無題");
    EXPECT_EQ(PaletteQColor(3), QColor(0, 128, 128));
}

}  // namespace
