#pragma once
// What the editing operations need of the canvas between repaints. The main
// window implements it; tests use a recording fake. Extend it as operations
// need more (scroll bars, cursor, toolbar).
#include "model/model.hpp"

namespace kova {

class CanvasView {
public:
    virtual ~CanvasView() = default;
    // A line in canvas twips, copy-pen, in a colour of the 16-colour palette.
    virtual void DrawSegment(int x1, int y1, int x2, int y2, int colour) = 0;
    // A filled polygon in device pixels.
    virtual void FillPolygon(const ScreenPoint* pts, int n, int colour) = 0;
    // Repaint the whole canvas from the model.
    virtual void Refresh() = 0;
};

}  // namespace kova
