#pragma once
// What the editing operations need of the canvas and its surroundings
// between repaints: immediate drawing, the two scroll bars, the canvas cursor
// and the toolbar. The main window implements it; tests use a recording fake
// (testing/recording_canvas.hpp).
#include "editing/editor_state.hpp"

namespace kova {

enum class ScrollBar { Horizontal, Vertical };
enum class CanvasCursor { Arrow, Zoom };

// Toolbar buttons the view operations release or press.
inline constexpr int kToolWholeView = 8;
inline constexpr int kToolZoomIn = 9;
inline constexpr int kToolZoomOut = 10;

class CanvasView {
public:
    virtual ~CanvasView() = default;
    // A line in canvas twips, copy-pen, in a colour of the 16-colour palette.
    virtual void DrawSegment(int x1, int y1, int x2, int y2, int colour) = 0;
    // A filled polygon in device pixels.
    virtual void FillPolygon(const ScreenPoint* pts, int n, int colour) = 0;
    // Repaint the whole canvas from the model.
    virtual void Refresh() = 0;

    // Sets a scroll bar's value; the bar's change handler runs as for any
    // program change. Returns the bar's value afterwards (a bar may keep
    // values within its own range). Views without bars keep the value.
    virtual int SetScrollValue(ScrollBar bar, int value) {
        (void)bar;
        return value;
    }
    // The mouse cursor shown over the canvas.
    virtual void SetCursor(CanvasCursor cursor) { (void)cursor; }
    // Shows a toolbar button pressed or released.
    virtual void SetToolbarButtonPressed(int button, bool pressed) {
        (void)button;
        (void)pressed;
    }
};

}  // namespace kova
