#pragma once
// Twips, palette colours and the fonts the forms name, on Qt.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>

#include "platform/twips.hpp"

class QWidget;

namespace kova {

// Twips per pixel of the screen the widget is on (the primary screen when
// none is given), from its logical DPI.
TwipsScale ScreenTwips(const QWidget* w = nullptr);

// A rectangle given in twips (left, top, width, height), in pixels.
QRect TwipsRect(const TwipsScale& s, int left, int top, int width, int height);

QColor ToQColor(Rgb c);
inline QColor PaletteQColor(int n) { return ToQColor(PaletteColour(n)); }

// The installed family that stands in for a face named by the forms:
// "ＭＳ Ｐゴシック" and "ＭＳ ゴシック" become the IPA Gothic fonts
// (proportional and fixed), "Impact" a condensed bold sans; any other name
// is passed on as it is.
QString InstalledFamily(const std::string& face);

// A font as a form describes it: face name, size in points, bold, italic.
QFont FormFont(const std::string& face, double points, bool bold = false, bool italic = false);

}  // namespace kova
