#pragma once
// A picture box drawn by hand: colours, pens, lines, circles and text, all
// placed in twips of the box (origin top-left, y downwards). Plots and
// graphs draw through this interface so that the same code draws into a Qt
// image on screen and into a recording fake in tests.
#include <string_view>
#include <utility>
#include <vector>

#include "platform/twips.hpp"

namespace kova {

enum class LineStyle { Solid, Dotted };

class Picture {
public:
    virtual ~Picture() = default;

    // The box's outer size in twips.
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    // Twips per screen pixel (label placement that counts characters).
    virtual TwipsScale Scale() const = 0;
    // Size in points of the box's font.
    virtual double FontPoints() const = 0;

    // Setting the background colour clears the whole box to it.
    virtual void SetBackColor(Rgb c) = 0;
    // Colour of lines, circle outlines and text.
    virtual void SetForeColor(Rgb c) = 0;
    virtual void SetLineStyle(LineStyle s) = 0;
    // Pen width in pixels (1 is the thinnest line).
    virtual void SetLineWidth(int pixels) = 0;
    // Circles drawn after this are filled with `fillColour` when `filled`.
    virtual void SetFill(bool filled, Rgb fillColour) = 0;

    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // Outline in the foreground colour; inside per SetFill.
    virtual void Circle(double x, double y, double radius) = 0;
    // UTF-8 text in the box's font, its top-left corner at (x, y).
    virtual void Text(double x, double y, std::string_view utf8) = 0;

    void SetForePalette(int n) { SetForeColor(PaletteColour(n)); }
    void SetBackPalette(int n) { SetBackColor(PaletteColour(n)); }
};

// What a surface needs besides Picture to set text the way drawing
// records ask: each character cell `width` wide for a full-width character
// (half of it for a half-width one) and `height` high, the text turned by
// `angle` degrees counter-clockwise about the point given to Picture::Text
// (its top-left corner before turning). A picture without it keeps its own
// font and draws every text unturned.
class TextCells {
public:
    virtual ~TextCells() = default;
    virtual void SetTextCell(double width, double height, int angle) = 0;
};

// What a surface may offer to draw a run of joined solid lines as one path
// (a PDF then holds one path instead of one per record).
class PolyLines {
public:
    virtual ~PolyLines() = default;
    virtual void Polyline(const std::vector<std::pair<double, double>>& points) = 0;
};

// A box that can be asked to draw itself again (its owner's drawing code
// runs and the screen shows the result).
class PictureBox {
public:
    virtual ~PictureBox() = default;
    virtual void RequestRefresh() = 0;
};

// Clips the segment to the rectangle [left, right] x [top, bottom] in
// place. False when a coordinate is not finite or nothing of the segment
// lies inside; then the segment is left unspecified.
bool ClipLine(double& x1, double& y1, double& x2, double& y2, double left, double top, double right, double bottom);

// True when every value is finite and the circle's bounding square meets
// the rectangle.
bool CircleMeets(double x, double y, double radius, double left, double top, double right, double bottom);

// Drawing that keeps inside the box: lines are clipped to it and circles
// wholly outside it, or with a coordinate that is not finite, are dropped,
// so that far-off values cannot make a surface draw very long or huge
// shapes. Returns false when nothing was drawn.
bool LineInBox(Picture& p, double x1, double y1, double x2, double y2);
bool CircleInBox(Picture& p, double x, double y, double radius);
// Text placed at a finite point that lies inside the box.
bool TextInBox(Picture& p, double x, double y, std::string_view utf8);

}  // namespace kova
