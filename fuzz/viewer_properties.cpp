// The property of the viewer's reader (see properties.hpp).
#include <algorithm>
#include <cmath>

#include "fuzz/properties.hpp"
#include "platform/picture.hpp"
#include "viewer/reader/layout.hpp"

namespace kova::fuzz {
namespace {

// Notes the first drawing call with a coordinate that is not finite.
class CheckingPicture : public Picture, public TextCells {
public:
    std::string broken;
    long calls = 0;
    double Width() const override { return viewer::kPageWidth; }
    double Height() const override { return viewer::kPageHeight; }
    TwipsScale Scale() const override { return {}; }
    double FontPoints() const override { return 10; }
    void SetBackColor(Rgb) override {}
    void SetForeColor(Rgb) override {}
    void SetLineStyle(LineStyle) override {}
    void SetLineWidth(int) override {}
    void SetFill(bool, Rgb) override {}
    void Line(double x1, double y1, double x2, double y2) override { Check("line", {x1, y1, x2, y2}); }
    void Circle(double x, double y, double r) override { Check("circle", {x, y, r}); }
    void Text(double x, double y, std::string_view) override { Check("text", {x, y}); }
    void SetTextCell(double w, double h, int) override { Check("text cell", {w, h}); }

private:
    void Check(const char* what, std::initializer_list<double> v) {
        ++calls;
        if (broken.empty() && std::any_of(v.begin(), v.end(), [](double d) { return !std::isfinite(d); }))
            broken = std::string(what) + " with a coordinate that is not finite";
    }
};

int LineCount(std::string_view bytes) { return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1; }

std::string FaultLine(const std::optional<viewer::Fault>& f, int lines) {
    if (f && (f->line < 0 || f->line > lines + 1))
        return "fault at line " + std::to_string(f->line) + " of " + std::to_string(lines);
    return {};
}

}  // namespace

std::string CheckPageFile(std::string_view bytes, const std::filesystem::path&) {
    const int lines = LineCount(bytes);
    viewer::Report report;
    report.page = viewer::ReadPage(bytes, "TK_DATA.PDT");
    if (std::string b = FaultLine(report.page.fault, lines); !b.empty()) return b;
    viewer::DrawingFile drawing = viewer::ReadDrawing(bytes, "D.PZK");
    if (std::string b = FaultLine(drawing.fault, lines); !b.empty()) return b;
    if (drawing.width < 0 || drawing.height < 0) return "negative frame";
    for (const viewer::FormBlock& f : report.page.forms) {
        if (f.fields.size() > static_cast<std::size_t>(lines)) return "more fields than lines";
        if (!f.drawing.empty()) report.drawings[f.drawing] = drawing;
    }
    // Every drawing also on a page of its own.
    report.page.forms.push_back({true, "", "D.PZK", -1, 0, {}});
    report.drawings["D.PZK"] = drawing;
    const auto pages = viewer::LayOut(report);
    if (pages.empty()) return "no page laid out";
    CheckingPicture p;
    for (const viewer::LaidPage& page : pages) viewer::PaintPage(page, p);
    return p.broken;
}

}  // namespace kova::fuzz
