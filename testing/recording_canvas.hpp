#pragma once
// A canvas that records what the operations ask of it, for tests.
#include <map>
#include <vector>

#include "editing/canvas_view.hpp"

namespace kova {

class RecordingCanvas : public CanvasView {
public:
    struct Segment {
        int x1, y1, x2, y2, colour;
    };
    struct Polygon {
        std::vector<ScreenPoint> pts;
        int colour;
    };

    void DrawSegment(int x1, int y1, int x2, int y2, int colour) override {
        segments.push_back({x1, y1, x2, y2, colour});
    }
    void FillPolygon(const ScreenPoint* pts, int n, int colour) override {
        polygons.push_back({std::vector<ScreenPoint>(pts, pts + n), colour});
    }
    void Refresh() override { ++refreshes; }
    int SetScrollValue(ScrollBar bar, int value) override {
        scrollSets.push_back({bar, value});
        int& v = bar == ScrollBar::Horizontal ? hScroll : vScroll;
        v = value;
        return v;
    }
    void SetCursor(CanvasCursor c) override {
        cursor = c;
        ++cursorSets;
    }
    void SetToolbarButtonPressed(int button, bool pressed) override { toolbar[button] = pressed; }

    std::vector<Segment> segments;
    std::vector<Polygon> polygons;
    int refreshes = 0;
    std::vector<std::pair<ScrollBar, int>> scrollSets;
    int hScroll = 0;
    int vScroll = 0;
    CanvasCursor cursor = CanvasCursor::Arrow;
    int cursorSets = 0;
    std::map<int, bool> toolbar;  // last state shown per button
};

}  // namespace kova
