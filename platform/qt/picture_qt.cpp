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

}  // namespace

QtPicture::QtPicture(QImage& image, TwipsScale scale, const QFont& font)
    : image_(image), scale_(scale), points_(font.pointSizeF() > 0 ? font.pointSizeF() : 9.0) {
    // The image's resolution is the screen's, so that point sizes come out
    // as they would in the widget.
    image_.setDotsPerMeterX(static_cast<int>(std::lround(kTwipsPerInch / scale_.perPixelX * kInchesPerMetre)));
    image_.setDotsPerMeterY(static_cast<int>(std::lround(kTwipsPerInch / scale_.perPixelY * kInchesPerMetre)));
    painter_.begin(&image_);
    painter_.setFont(font);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    ApplyPen();
}

double QtPicture::Width() const { return image_.width() * scale_.perPixelX; }
double QtPicture::Height() const { return image_.height() * scale_.perPixelY; }

void QtPicture::ApplyPen() {
    QPen pen(fore_);
    pen.setWidth(std::max(1, width_));
    pen.setStyle(style_ == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    painter_.setPen(pen);
    painter_.setBrush(filled_ ? QBrush(fill_) : QBrush(Qt::NoBrush));
}

void QtPicture::SetBackColor(Rgb c) { image_.fill(ToQColor(c)); }

void QtPicture::SetForeColor(Rgb c) {
    fore_ = ToQColor(c);
    ApplyPen();
}

void QtPicture::SetLineStyle(LineStyle s) {
    style_ = s;
    ApplyPen();
}

void QtPicture::SetLineWidth(int pixels) {
    width_ = std::clamp(pixels, 1, 100);
    ApplyPen();
}

void QtPicture::SetFill(bool filled, Rgb fillColour) {
    filled_ = filled;
    fill_ = ToQColor(fillColour);
    ApplyPen();
}

void QtPicture::Line(double x1, double y1, double x2, double y2) {
    // Clipped to the image (with a pixel to spare) so that far-off ends
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

void QtPicture::Text(double x, double y, std::string_view utf8) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (std::fabs(x) > 1e7 || std::fabs(y) > 1e7) return;
    const QFontMetricsF fm(painter_.font(), &image_);
    painter_.drawText(QPointF(Px(x), Py(y) + fm.ascent()), Q(utf8));
}

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

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
