#include "platform/qt/screen_qt.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/qt/qt_text.hpp"

namespace kova {

TwipsScale ScreenTwips(const QWidget* w) {
    QScreen* screen = w ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen) return TwipsScale{};
    return TwipsScale::ForDpi(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

QRect TwipsRect(const TwipsScale& s, int left, int top, int width, int height) {
    return QRect(s.ToPixelsX(left), s.ToPixelsY(top), s.ToPixelsX(width), s.ToPixelsY(height));
}

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QString InstalledFamily(const std::string& face) {
    if (face == "ＭＳ Ｐゴシック") return QStringLiteral("IPAPGothic");
    if (face == "ＭＳ ゴシック") return QStringLiteral("IPAGothic");
    if (face == "Impact") return QStringLiteral("DejaVu Sans Condensed");
    return Q(face);
}

QFont FormFont(const std::string& face, double points, bool bold, bool italic) {
    QFont f;
    // The Japanese Gothic stays the fallback so that Japanese text never
    // falls back to a font without kana.
    f.setFamilies({InstalledFamily(face), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    f.setPointSizeF(points);
    if (face == "Impact") {
        f.setStretch(QFont::Condensed);
        bold = true;
    }
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

}  // namespace kova
