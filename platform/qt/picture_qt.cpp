#include "platform/qt/picture_qt.hpp"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"

namespace kova {

namespace {

constexpr double kInchesPerMetre = 39.3700787;
// Cell fonts are sized in whole device units: texts are set at this size and
// scaled, so small cells on a coarse device keep their proportions.
constexpr double kCellBase = 100;
constexpr char16_t kHalfDot = 0xFF65;
constexpr double kNoFont = 9;       // points of a box whose font gives none
constexpr double kPagePoints = 10;  // what a page reports; its texts follow their cells

// The font of cell texts: IPA Gothic, whose half-width characters are half
// as wide as the full-width ones, as the reports count them.
QFont CellFont() {
    QFont f(QStringLiteral("IPAGothic"));
    f.setStyleHint(QFont::Monospace);
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"), QStringLiteral("IPAPGothic")});
    f.setPixelSize(static_cast<int>(kCellBase));
    return f;
}

}  // namespace

QtPicture::QtPicture(QImage& image, TwipsScale scale, const QFont& font)
    : painter_(own_),
      scale_(scale),
      boxW_(image.width()),
      boxH_(image.height()),
      points_(font.pointSizeF() > 0 ? font.pointSizeF() : kNoFont),
      surface_(Surface::Screen) {
    // The image's resolution is the screen's, so that point sizes come out
    // as they would in the widget.
    image.setDotsPerMeterX(static_cast<int>(std::lround(kTwipsPerInch / scale_.perPixelX * kInchesPerMetre)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(kTwipsPerInch / scale_.perPixelY * kInchesPerMetre)));
    own_.begin(&image);
    own_.setFont(font);
    Begin();
}

QtPicture::QtPicture(QPainter& painter, double width, double height, Surface surface)
    : painter_(painter), scale_{1, 1}, boxW_(width), boxH_(height), points_(kPagePoints), surface_(surface) {
    Begin();
}

void QtPicture::Begin() {
    if (surface_ == Surface::Page) {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
    } else {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }
    ApplyPen();
}

void QtPicture::ApplyPen() {
    QPen pen(fore_);
    if (surface_ == Surface::Page) pen.setWidthF(width_ >= 2 ? 4.5 : 1.5);  // tenths of a millimetre
    else pen.setWidth(width_);
    pen.setStyle(style_ == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    if (surface_ == Surface::Page) pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.setBrush(filled_ ? QBrush(fill_) : QBrush(Qt::NoBrush));
}

void QtPicture::SetBackColor(Rgb c) { painter_.fillRect(QRectF(0, 0, boxW_, boxH_), ToQColor(c)); }

void QtPicture::SetForeColor(Rgb c) {
    fore_ = ToQColor(c);
    ApplyPen();
}

void QtPicture::SetLineStyle(LineStyle s) {
    style_ = s;
    ApplyPen();
}

void QtPicture::SetLineWidth(int pixels) {
    // A width from a file may be anything; a page tells thin from thick only.
    width_ = std::clamp(pixels, 1, 100);
    ApplyPen();
}

void QtPicture::SetFill(bool filled, Rgb fillColour) {
    filled_ = filled;
    fill_ = ToQColor(fillColour);
    ApplyPen();
}

void QtPicture::Line(double x1, double y1, double x2, double y2) {
    // Clipped to the box (with a pixel to spare) so that far-off ends
    // never reach the rasteriser.
    const double mx = 2 * scale_.perPixelX, my = 2 * scale_.perPixelY;
    if (!ClipLine(x1, y1, x2, y2, -mx, -my, Width() + mx, Height() + my)) return;
    painter_.drawLine(QPointF(Px(x1), Py(y1)), QPointF(Px(x2), Py(y2)));
}

void QtPicture::Circle(double x, double y, double radius) {
    if (!CircleMeets(x, y, radius, 0, 0, Width(), Height())) return;
    const double r = std::fabs(radius);
    if (r > 4.0 * (Width() + Height())) return;
    painter_.drawEllipse(QPointF(Px(x), Py(y)), r / scale_.perPixelX, r / scale_.perPixelY);
}

void QtPicture::Polyline(const std::vector<std::pair<double, double>>& points) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& [x, y] : points) poly.append(QPointF(Px(x), Py(y)));
    painter_.drawPolyline(poly);
}

void QtPicture::SetTextCell(double width, double height, int angle) {
    cellW_ = width;
    cellH_ = height;
    angle_ = angle;
    if (cells_) return;
    cells_ = true;
    cellFont_ = CellFont();
    // IPA Gothic draws "･" (U+FF65) with the glyph of "·" (U+00B7), and a
    // PDF's text layer then names the lower character. The proportional cut
    // keeps the two apart, so "･" is set in it, centred in its half cell.
    dotFont_ = QFont(QStringLiteral("IPAPGothic"));
    dotFont_.setPixelSize(static_cast<int>(kCellBase));
    const QFontMetricsF dm(dotFont_, painter_.device());
    dotAdvance_ = dm.horizontalAdvance(QChar(kHalfDot));
    const QFontMetricsF fm(cellFont_, painter_.device());
    halfAdvance_ = fm.horizontalAdvance(QChar(kHalfDot));
    painter_.setFont(cellFont_);
    ascent_ = fm.ascent();
    const double em = fm.horizontalAdvance(QChar(0x3042));  // a full-width character
    em_ = em > 0 ? em : kCellBase;
    lineH_ = fm.ascent() + fm.descent() > 0 ? fm.ascent() + fm.descent() : kCellBase;
}

void QtPicture::Text(double x, double y, std::string_view utf8) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (std::fabs(x) > 1e7 || std::fabs(y) > 1e7) return;
    if (cells_) {
        CellText(Px(x), Py(y), Q(utf8));
        return;
    }
    const QFontMetricsF fm(painter_.font(), painter_.device());
    painter_.drawText(QPointF(Px(x), Py(y) + fm.ascent()), Q(utf8));
}

void QtPicture::CellText(double x, double y, const QString& text) {
    if (!(cellH_ > 0) || !(cellW_ > 0)) return;
    // Only the transform changes per text (the font is set once, the pen
    // carries the colour): a PDF then holds little more than the glyphs.
    const QTransform before = painter_.worldTransform();
    painter_.translate(x, y);
    if (angle_ != 0) painter_.rotate(-angle_);
    painter_.scale(Px(cellW_) / em_, Py(cellH_) / lineH_);
    if (!text.contains(QChar(kHalfDot))) {
        painter_.drawText(QPointF(0, ascent_), text);
    } else {
        const QFontMetricsF fm(cellFont_, painter_.device());
        double at = 0;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != QChar(kHalfDot)) continue;
            const QString run = text.mid(start, i - start);
            if (!run.isEmpty()) {
                painter_.drawText(QPointF(at, ascent_), run);
                at += fm.horizontalAdvance(run);
            }
            if (i < text.size()) {
                painter_.setFont(dotFont_);
                painter_.drawText(QPointF(at + (halfAdvance_ - dotAdvance_) / 2, ascent_), QString(QChar(kHalfDot)));
                painter_.setFont(cellFont_);
                at += halfAdvance_;
            }
            start = i + 1;
        }
    }
    painter_.setWorldTransform(before);
}

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

bool PictureBoxWidget::Render() {
    const QSize s = size().expandedTo(QSize(1, 1));
    if (image_.size() != s) image_ = QImage(s, QImage::Format_RGB32);
    image_.fill(Qt::white);
    if (!draw_) return true;
    ++renders_;
    QtPicture pic(image_, ScreenTwips(this), font());
    return draw_(pic);
}

void PictureBoxWidget::RequestRefresh() {
    const bool ok = Render();
    update();
    if (!ok && onFault_) onFault_();
}

void PictureBoxWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Render();
}

void PictureBoxWidget::paintEvent(QPaintEvent* e) {
    // Only before the first resize has made an image of this size does the
    // drawing run here, and then it reports no fault.
    if (image_.size() != size()) Render();
    QPainter p(this);
    p.drawImage(e->rect(), image_, e->rect());
}

}  // namespace kova
