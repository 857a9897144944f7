#pragma once
// Pictures on Qt: one surface over a QPainter for screen boxes and printed
// or exported pages, and a picture box widget that renders its owner's
// drawing into an image at each refresh request and resize and only shows
// the image when it paints.
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>

#include "platform/picture.hpp"

namespace kova {

// A picture over a QPainter, for a screen box and for a page alike. The
// surface is its one option:
// - Screen: the box is in twips, `scale` of them a pixel of an image; pens
//   are whole pixels (1 to 100) and edges hard, as a picture box draws.
// - Page: the box is in page units that the painter's transform maps to the
//   device (screen image, printer, PDF); a pen of 1 pixel is a thin 0.15 mm
//   line and a wider one a thick 0.45 mm line, with flat ends, and edges are
//   smoothed.
// Either way lines are clipped to the box and circles far outside it
// dropped, so that far-off values never reach the rasteriser. Text is set in
// the painter's font until a text cell is set (TextCells); from then on in
// IPA Gothic sized and turned to the cell.
class QtPicture : public Picture, public TextCells, public PolyLines {
public:
    enum class Surface { Screen, Page };

    // A screen box drawn into `image`, in `font`.
    QtPicture(QImage& image, TwipsScale scale, const QFont& font);
    // A box `width` by `height` in the painter's own units.
    QtPicture(QPainter& painter, double width, double height, Surface surface);

    double Width() const override { return boxW_ * scale_.perPixelX; }
    double Height() const override { return boxH_ * scale_.perPixelY; }
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

    void SetTextCell(double width, double height, int angle) override;
    void Polyline(const std::vector<std::pair<double, double>>& points) override;

private:
    void Begin();
    void ApplyPen();
    void CellText(double x, double y, const QString& text);
    double Px(double units) const { return units / scale_.perPixelX; }
    double Py(double units) const { return units / scale_.perPixelY; }

    QPainter own_;  // the painter of an image box
    QPainter& painter_;
    TwipsScale scale_;
    double boxW_, boxH_;  // in painter units
    double points_;
    Surface surface_;
    QColor fore_{Qt::black};
    LineStyle style_ = LineStyle::Solid;
    int width_ = 1;
    bool filled_ = false;
    QColor fill_{Qt::black};
    // The text cell and its font at a fixed drawing size with its measures,
    // taken when the first cell is set.
    bool cells_ = false;
    double cellW_ = 36, cellH_ = 36;
    int angle_ = 0;
    QFont cellFont_;
    double ascent_ = 0, em_ = 0, lineH_ = 0;
    QFont dotFont_;  // for "･" alone
    double dotAdvance_ = 0, halfAdvance_ = 0;
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
