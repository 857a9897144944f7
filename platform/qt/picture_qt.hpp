#pragma once
// The picture box on Qt: a surface that draws into a QImage, and a widget
// that renders its owner's drawing into such an image at each refresh
// request and resize and only shows the image when it paints.
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>

#include "platform/picture.hpp"

namespace kova {

// Draws into an image whose pixels are `scale` twips apart, in `font`.
class QtPicture : public Picture {
public:
    QtPicture(QImage& image, TwipsScale scale, const QFont& font);

    double Width() const override;
    double Height() const override;
    TwipsScale Scale() const override { return scale_; }
    double FontPoints() const override { return points_; }

    void SetBackColor(Rgb c) override;
    void SetForeColor(Rgb c) override;
    void SetLineStyle(LineStyle s) override;
    void SetLineWidth(int pixels) override;
    void SetFill(bool filled, Rgb fillColour) override;

    void Line(double x1, double y1, double x2, double y2) override;
    void Circle(double x, double y, double radius) override;
    void Text(double x, double y, std::string_view utf8) override;

private:
    void ApplyPen();
    double Px(double twips) const { return twips / scale_.perPixelX; }
    double Py(double twips) const { return twips / scale_.perPixelY; }

    QImage& image_;
    TwipsScale scale_;
    double points_;
    QPainter painter_;
    QColor fore_{Qt::black};
    LineStyle style_ = LineStyle::Solid;
    int width_ = 1;
    bool filled_ = false;
    QColor fill_{Qt::black};
};

// A picture box widget. Its drawing function runs at every RequestRefresh
// and resize and draws into an image; paintEvent only copies that image,
// so no drawing code (and no message it might give) runs inside a paint.
// The drawing function returns false when it ended on a fault; the fault
// handler then runs once for that refresh request (not for a resize).
// The widget's font is the box's font.
class PictureBoxWidget : public QWidget, public PictureBox {
    Q_OBJECT
public:
    using DrawFn = std::function<bool(Picture&)>;

    explicit PictureBoxWidget(QWidget* parent = nullptr);

    void SetDraw(DrawFn draw) { draw_ = std::move(draw); }
    void SetFaultHandler(std::function<void()> onFault) { onFault_ = std::move(onFault); }

    void RequestRefresh() override;
    const QImage& Image() const { return image_; }
    // Number of times the drawing function ran.
    int RenderCount() const { return renders_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    bool Render();

    DrawFn draw_;
    std::function<void()> onFault_;
    QImage image_;
    int renders_ = 0;
};

}  // namespace kova
