#pragma once
// A model, an editor state and recording surroundings for the canvas tools.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "editing/mouse_tools.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"

namespace kova::test {

// Also notes the tool in force at every repaint.
class ModeCanvas : public RecordingCanvas {
public:
    explicit ModeCanvas(const EditorState& ed) : ed_(ed) {}
    void Refresh() override {
        RecordingCanvas::Refresh();
        modes.push_back(ed_.cmd_mode);
    }
    std::vector<int> modes;

private:
    const EditorState& ed_;
};

class RecordingPanels : public StatusPanels {
public:
    void SetStatusText(int panel, const std::string& text) override { text_[panel] = text; }
    std::string Text(int panel) const {
        auto it = text_.find(panel);
        return it == text_.end() ? "" : it->second;
    }

private:
    std::map<int, std::string> text_;
};

struct ToolFixture : ::testing::Test {
    Model m;
    EditorState ed;
    ModeCanvas view{ed};
    RecordingMessages ui;
    RecordingPanels status;
    ToolHost host{ToolContext{m, ed, view, ui, status}};
    ToolContext ctx{m, ed, view, ui, status};

    ToolFixture() {
        ed.CanvasWidth = 11475;
        ed.CanvasHeight = 6615;
        View(100, -50, 50);
    }
    void View(double scale, double left, double top) {
        ed.ViewScale = scale;
        ed.ViewLeftX = left;
        ed.ViewTopY = top;
    }
    i16 Point(double x, double y) {
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)] = BoundaryPoint{};
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)].X = x;
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)].Y = y;
        return m.BndPtCount++;
    }
    i16 Line(i16 a, i16 b) {
        m.BndLine[static_cast<std::size_t>(m.BndLineCount)] = {a, b};
        return m.BndLineCount++;
    }
    void Click(double x, double y, int button = 1) { host.Press({x, y, button, false}); }
    // The picks of the tool of `mode`.
    ToolPicks& Picks(int mode) { return ed.tools.For(mode)->picks; }
    ToolPicks& InForce() { return ed.Tool()->picks; }
    void Right() { Click(0, 0, 2); }
};

}  // namespace kova::test
