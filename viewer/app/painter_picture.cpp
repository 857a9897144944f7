#include "viewer/app/painter_picture.hpp"

#include <QFontMetricsF>
#include <cmath>

namespace kova::viewer {
namespace {
// Fonts are sized in whole device units: texts are set at this size and
// scaled, so small cells on a coarse device keep their proportions.
constexpr double kBase = 100;
constexpr char16_t kHalfDot = 0xFF65;
QColor ToQ(Rgb c) { return QColor(c.r, c.g, c.b); }
// Pen widths in page units (tenths of a millimetre): thin 0.15 mm, thick 0.45 mm.
double PenUnits(int pixels) { return pixels >= 2 ? 4.5 : 1.5; }
}  // namespace

QFont ViewerFont() {
    QFont f(QStringLiteral("IPAGothic"));
    f.setStyleHint(QFont::Monospace);
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"), QStringLiteral("IPAPGothic")});
    return f;
}

PainterPicture::PainterPicture(QPainter& painter, double width, double height)
    : painter_(painter), width_(width), height_(height) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    font_ = ViewerFont();
    font_.setPixelSize(static_cast<int>(kBase));
    // IPA Gothic draws "･" (U+FF65) with the glyph of "·" (U+00B7), and a
    // PDF's text layer then names the lower character. The proportional cut
    // keeps the two apart, so "･" is set in it, centred in its half cell.
    dotFont_ = QFont(QStringLiteral("IPAPGothic"));
    dotFont_.setPixelSize(static_cast<int>(kBase));
    QFontMetricsF dm(dotFont_, painter_.device());
    dotAdvance_ = dm.horizontalAdvance(QChar(kHalfDot));
    QFontMetricsF fm(font_, painter_.device());
    halfAdvance_ = fm.horizontalAdvance(QChar(kHalfDot));
    painter_.setFont(font_);
    ascent_ = fm.ascent();
    const double em = fm.horizontalAdvance(QChar(0x3042));  // a full-width character
    em_ = em > 0 ? em : kBase;
    lineH_ = fm.ascent() + fm.descent() > 0 ? fm.ascent() + fm.descent() : kBase;
    ApplyPen();
}

void PainterPicture::ApplyPen() {
    QPen pen(fore_);
    pen.setWidthF(PenUnits(lineWidth_));
    pen.setStyle(style_ == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.setBrush(filled_ ? QBrush(fill_) : QBrush(Qt::NoBrush));
}

void PainterPicture::SetBackColor(Rgb c) { painter_.fillRect(QRectF(0, 0, width_, height_), ToQ(c)); }
void PainterPicture::SetForeColor(Rgb c) {
    fore_ = ToQ(c);
    ApplyPen();
}
void PainterPicture::SetLineStyle(LineStyle s) {
    style_ = s;
    ApplyPen();
}
void PainterPicture::SetLineWidth(int pixels) {
    lineWidth_ = pixels;
    ApplyPen();
}
void PainterPicture::SetFill(bool filled, Rgb fillColour) {
    filled_ = filled;
    fill_ = ToQ(fillColour);
    ApplyPen();
}
void PainterPicture::Line(double x1, double y1, double x2, double y2) {
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}
void PainterPicture::Circle(double x, double y, double radius) { painter_.drawEllipse(QPointF(x, y), radius, radius); }

void PainterPicture::Polyline(const std::vector<std::pair<double, double>>& points) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& [x, y] : points) poly.append(QPointF(x, y));
    painter_.drawPolyline(poly);
}

void PainterPicture::SetTextCell(double width, double height, int angle) {
    cellW_ = width;
    cellH_ = height;
    angle_ = angle;
}

void PainterPicture::Text(double x, double y, std::string_view utf8) {
    if (!(cellH_ > 0) || !(cellW_ > 0)) return;
    // Only the transform changes per text (the font is set once, the pen
    // carries the colour): a PDF then holds little more than the glyphs.
    const QTransform before = painter_.worldTransform();
    painter_.translate(x, y);
    if (angle_ != 0) painter_.rotate(-angle_);
    painter_.scale(cellW_ / em_, cellH_ / lineH_);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!text.contains(QChar(kHalfDot))) {
        painter_.drawText(QPointF(0, ascent_), text);
    } else {
        QFontMetricsF fm(font_, painter_.device());
        double x = 0;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != QChar(kHalfDot)) continue;
            const QString run = text.mid(start, i - start);
            if (!run.isEmpty()) {
                painter_.drawText(QPointF(x, ascent_), run);
                x += fm.horizontalAdvance(run);
            }
            if (i < text.size()) {
                painter_.setFont(dotFont_);
                painter_.drawText(QPointF(x + (halfAdvance_ - dotAdvance_) / 2, ascent_), QString(QChar(kHalfDot)));
                painter_.setFont(font_);
                x += halfAdvance_;
            }
            start = i + 1;
        }
    }
    painter_.setWorldTransform(before);
}

}  // namespace kova::viewer
