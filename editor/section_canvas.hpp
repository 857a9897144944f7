#pragma once
// The section canvas pic_gm: shows the last full picture of the section,
// kept in a QImage on a black background, with the rubber band of the line
// tools drawn over it by exclusive-or. It knows nothing of tools: mouse
// presses and moves leave it as canvas twips with the button numbers of the
// editor (1 left, 2 right, 4 middle), and the owner decides what they do.
//
// The owner binds the model and the editor state once, implements
// CanvasView by forwarding DrawSegment, FillPolygon and Refresh (Refresh must
// call pic_gm_Paint, synchronously: the scroll handlers change cmd_mode just
// for the duration of the repaint).
#include <QImage>
#include <QWidget>

#include "editor/section_painter.hpp"
#include "editing/canvas_view.hpp"
#include "editing/editor_state.hpp"

namespace kova {

class SectionCanvas : public QWidget {
    Q_OBJECT
public:
    explicit SectionCanvas(QWidget* parent = nullptr);

    // The model and editor state the canvas draws; both outlive the canvas.
    void Bind(const Model* m, EditorState* ed);

    // The "沈下後の地表面" check and whether the last run's results were read
    // back whole; the settled surface needs both. Neither repaints.
    void SetShowSettled(bool on) { options_.showSettled = on; }
    void SetResultsRead(bool read) { options_.resultsRead = read; }
    const PaintOptions& Options() const { return options_; }

    // The canvas's paint routine: moves the rubber band in tools 3 and 8 with
    // a chain point, otherwise renders the whole picture; then shows it.
    void pic_gm_Paint();

    // Immediate drawing onto the picture until the next full repaint:
    // a line in canvas twips, a filled polygon in device pixels.
    void DrawSegment(int x1, int y1, int x2, int y2, int colour);
    void FillPolygon(const ScreenPoint* pts, int n, int colour);

    // The arrow, or the magnifier of the zoom tools.
    void SetCanvasCursor(CanvasCursor c);

    // The drawing area in twips (the picture's size).
    int WidthTwips() const;
    int HeightTwips() const;

    const QImage& Picture() const { return picture_; }
    // The picture as shown, the band over it.
    QImage ShownImage() const { return painter_.Shown(picture_); }
    SectionPainter& Painter() { return painter_; }

signals:
    // Canvas twips from the top-left corner; button 1 left, 2 right, 4
    // middle (a move passes the sum of the buttons held); shift 1 when Shift
    // is held, 2 Ctrl, 4 Alt.
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    // The second press of a double click arrives as this event only; it is
    // no press of its own (QWidget would pass it on as one).
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void Render();

    const Model* model_ = nullptr;
    EditorState* ed_ = nullptr;
    PaintOptions options_;
    SectionPainter painter_;
    QImage picture_;
};

// Editor button numbers of Qt mouse buttons: left 1, right 2, middle 4.
int ButtonCode(Qt::MouseButtons b);
int ShiftCode(Qt::KeyboardModifiers m);

}  // namespace kova
