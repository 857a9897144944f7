#include "editor/canvas_wiring.hpp"

#include <QObject>

#include "editor/main_window.hpp"
#include "editing/mouse_tools.hpp"
#include "editor/section_canvas.hpp"

namespace kova {

namespace {

// A child of the window holding the tool host over the window's session.
class CanvasWiring : public QObject, public StatusPanels {
public:
    explicit CanvasWiring(Form1& f)
        : QObject(&f), form_(f), host_(ToolContext{f.SectionModel(), f.State(), f, f.Messages(), *this}) {}
    void SetStatusText(int panel, const std::string& text) override { form_.SetStatusText(panel, text); }
    ToolHost& Host() { return host_; }

private:
    Form1& form_;
    ToolHost host_;
};

}  // namespace

ToolHost& AttachCanvasTools(Form1& f) {
    auto* wiring = new CanvasWiring(f);
    SectionCanvas* canvas = f.Canvas();
    QObject::connect(canvas, &SectionCanvas::mouseDown, wiring,
                     [wiring](int b, int s, double x, double y) { wiring->Host().pic_gm_MouseDown(b, s, x, y); });
    QObject::connect(canvas, &SectionCanvas::mouseMove, wiring,
                     [wiring](int b, int s, double x, double y) { wiring->Host().pic_gm_MouseMove(b, s, x, y); });
    return wiring->Host();
}

}  // namespace kova
