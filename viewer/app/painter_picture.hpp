#pragma once
// A picture over any QPainter (screen image, printer, PDF) in page units:
// the painter's transform maps page units to the device. Text is set in the
// IPA fonts, sized and turned as drawing records ask.
#include <QFont>
#include <QPainter>

#include "platform/picture.hpp"
#include "viewer/reader/draw.hpp"

namespace kova::viewer {

class PainterPicture : public Picture, public TextCells, public PolyLines {
public:
    // width and height: the page in page units; pixelUnits: page units per
    // device pixel (line widths are given in pixels of a 0.1 mm sheet).
    PainterPicture(QPainter& painter, double width, double height);

    double Width() const override { return width_; }
    double Height() const override { return height_; }
    TwipsScale Scale() const override { return {}; }
    double FontPoints() const override { return 10; }

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
    void ApplyPen();
    QPainter& painter_;
    double width_, height_;
    QColor fore_{Qt::black};
    LineStyle style_ = LineStyle::Solid;
    int lineWidth_ = 1;
    bool filled_ = false;
    QColor fill_{Qt::black};
    double cellW_ = 36, cellH_ = 36;
    // The font at its drawing size and its measures, taken once.
    QFont font_;
    double ascent_ = 0, em_ = 0, lineH_ = 0;
    QFont dotFont_;  // for "･" alone
    double dotAdvance_ = 0, halfAdvance_ = 0;
    int angle_ = 0;
};

// The font of every text: IPA Gothic, whose half-width characters are half
// as wide as the full-width ones, as the reports count them.
QFont ViewerFont();

}  // namespace kova::viewer
