#pragma once
// Drawing the cross-section into the canvas's picture: the full repaint in
// its fixed order of layers, the rubber band of the line tools, and the
// immediate drawing the editing operations ask for between repaints.
//
// Model points become canvas twips by truncation, twips become pixels; every
// line, polygon, circle and text is placed in doubles and clipped to the
// picture plus a margin before anything is converted to an integer, so a far
// point can neither overflow nor bend an edge.
#include <QImage>
#include <string>

#include "editing/editor_state.hpp"
#include "platform/twips.hpp"

class QPainter;

namespace kova {

// The canvas's drawing settings. They persist from one drawing call to the
// next and from one repaint to the next; each step of a repaint changes only
// the settings it names.
// Raster modes of the drawing state.
inline constexpr int kRasterXorPen = 7;    // exclusive-or of pen and picture
inline constexpr int kRasterCopyPen = 13;  // plain pen

struct DrawState {
    int penColour = 11;    // 16-colour palette number, also the text colour
    int penWidth = 1;      // pixels
    int penStyle = 0;      // 0 solid, 2 dotted
    int rasterMode = kRasterCopyPen;
    int fillColour = 0;
    int fillStyle = 1;     // 0 solid, 1 none, 2 horizontal, 3 vertical, 7 diagonal cross hatch
    double fontSize = 9;   // points
    bool bold = false;
    double textX = 0;      // current text position, twips
    double textY = 0;

    friend bool operator==(const DrawState&, const DrawState&) = default;
};

// The band from a line chain's current point to the cursor. It is never
// part of the picture: whoever shows the picture draws it over a copy, a
// white line in a black edge, so that it shows over every colour.
struct RubberBand {
    bool shown = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
    int colour = 11;
    int width = 1;
    int style = 0;
};

// What the repaint needs beside the model and the editor state.
struct PaintOptions {
    bool showSettled = false;  // the "沈下後の地表面" menu item is checked
    bool resultsRead = false;  // the last run's results were read back whole
};

// A number as the canvas prints it: a sign position (blank unless negative),
// the digits, one blank.
std::string PrintedNumber(long v);
// A load's label, "#0.000" and its unit, and a position's settlement,
// "#0.000": rounded halves away from zero like every number text.
std::string LoadLabel(double load, const char* unit);
std::string SettlementLabel(double v);

class SectionPainter {
public:
    explicit SectionPainter(TwipsScale scale = {}) : scale_(scale) {}

    void SetScale(TwipsScale s) { scale_ = s; }
    const TwipsScale& Scale() const { return scale_; }

    // The canvas's paint routine: in tools 3 and 8 with a chain point it only
    // moves the rubber band (but repaints fully once after a zoom handed
    // back); otherwise it renders the whole picture.
    void Paint(QImage& picture, const Model& m, EditorState& ed, const PaintOptions& opt);

    // Clears the picture and draws every layer from the model.
    void FullRepaint(QImage& picture, const Model& m, EditorState& ed, const PaintOptions& opt);

    // Immediate drawing onto the picture, plain pen of width 1: a line in
    // canvas twips, a filled polygon in device pixels. Neither changes the
    // drawing state.
    void DrawSegment(QImage& picture, double x1, double y1, double x2, double y2, int colour) const;
    void FillPolygon(QImage& picture, const ScreenPoint* pts, int n, int colour) const;

    // Draws the band by exclusive-or (a second call erases it again).
    void DrawBand(QPainter& p, const QSize& area) const;

    // The picture with the band over it, as the canvas shows it.
    QImage Shown(const QImage& picture) const;

    const RubberBand& Band() const { return band_; }
    DrawState& State() { return state_; }
    const DrawState& State() const { return state_; }

    // Font face of every label on the canvas.
    static constexpr const char* kFace = "ＭＳ Ｐゴシック";

private:
    void UpdateBand(const Model& m, EditorState& ed, int from);

    TwipsScale scale_;
    DrawState state_;
    RubberBand band_;
};

}  // namespace kova
