#include "editor/section_painter.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "editing/mouse_tools.hpp"
#include "model/geometry.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "rules/segments.hpp"
#include "textio/numfmt.hpp"

namespace kova {

std::string PrintedNumber(long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, v < 0 ? "%ld " : " %ld ", v);
    return buf;
}

std::string LoadLabel(double load, const char* unit) { return FormatFixed(load, 3) + unit; }
std::string SettlementLabel(double v) { return FormatFixed(v, 3); }

namespace {

// Pixels kept beyond each edge of the picture when clipping: wider than any
// pen, so clipped ends and polygon edges stay out of sight.
constexpr double kMargin = 64;

// The 16-colour palette indices the painter uses (platform PaletteColour).
constexpr int kBlack = 0;
constexpr int kMaroon = 4;
constexpr int kOlive = 6;
constexpr int kSilver = 7;
constexpr int kGrey = 8;
constexpr int kCyan = 11;
constexpr int kRed = 12;
constexpr int kMagenta = 13;
constexpr int kYellow = 14;
constexpr int kWhite = 15;

constexpr int kBackground = kBlack;  // black: exclusive-or fills show their own colours

struct Box {
    double x0, y0, x1, y1;
};

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// False when nothing of the segment lies in the box.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const Box& b) {
    return rules::ClipSegment(x1, y1, x2, y2, b.x0, b.y0, b.x1, b.y1);
}

// Sutherland-Hodgman against the four sides of the box.
std::vector<QPointF> ClipPolygon(std::vector<QPointF> in, const Box& b) {
    auto side = [&](auto inside, auto cross) {
        std::vector<QPointF> out;
        out.reserve(in.size() + 4);
        const std::size_t n = in.size();
        for (std::size_t i = 0; i < n; ++i) {
            const QPointF& a = in[i];
            const QPointF& c = in[(i + 1) % n];
            const bool ia = inside(a), ic = inside(c);
            if (ia) out.push_back(a);
            if (ia != ic) out.push_back(cross(a, c));
        }
        in.swap(out);
    };
    auto atX = [](const QPointF& a, const QPointF& c, double x) {
        const double t = (x - a.x()) / (c.x() - a.x());
        return QPointF(x, a.y() + t * (c.y() - a.y()));
    };
    auto atY = [](const QPointF& a, const QPointF& c, double y) {
        const double t = (y - a.y()) / (c.y() - a.y());
        return QPointF(a.x() + t * (c.x() - a.x()), y);
    };
    side([&](const QPointF& p) { return p.x() >= b.x0; }, [&](auto& a, auto& c) { return atX(a, c, b.x0); });
    side([&](const QPointF& p) { return p.x() <= b.x1; }, [&](auto& a, auto& c) { return atX(a, c, b.x1); });
    side([&](const QPointF& p) { return p.y() >= b.y0; }, [&](auto& a, auto& c) { return atY(a, c, b.y0); });
    side([&](const QPointF& p) { return p.y() <= b.y1; }, [&](auto& a, auto& c) { return atY(a, c, b.y1); });
    return in;
}

int ClampToInt(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
    if (v > 2147483647.0) return 2147483647;
    return static_cast<int>(v);
}

Qt::BrushStyle BrushOf(int fillStyle) {
    switch (fillStyle) {
        case 0: return Qt::SolidPattern;
        case 2: return Qt::HorPattern;
        case 3: return Qt::VerPattern;
        case 7: return Qt::DiagCrossPattern;
        default: return Qt::NoBrush;
    }
}

// One QPainter over the picture, driven by the drawing state: each primitive
// takes canvas twips, applies the state in force and clips in doubles.
class Surface {
public:
    Surface(QImage& img, DrawState& st, const TwipsScale& sc)
        : p_(&img), st_(st), sc_(sc),
          box_{-kMargin, -kMargin, img.width() + kMargin, img.height() + kMargin},
          w_(img.width()), h_(img.height()) {}

    DrawState& st() { return st_; }

    void Clear() { p_.fillRect(0, 0, w_, h_, PaletteQColor(kBackground)); }

    // A line between two canvas points (twips) with the pen in force.
    void Line(double x1, double y1, double x2, double y2) {
        x1 /= sc_.perPixelX;
        x2 /= sc_.perPixelX;
        y1 /= sc_.perPixelY;
        y2 /= sc_.perPixelY;
        if (!ClipSegment(x1, y1, x2, y2, box_)) return;
        Apply(false);
        p_.drawLine(QLineF(std::nearbyint(x1), std::nearbyint(y1), std::nearbyint(x2), std::nearbyint(y2)));
    }

    // A circle of radius r twips around a canvas point, filled by the fill in
    // force; the text position moves to its centre.
    void Circle(double cx, double cy, double r) {
        st_.textX = cx;
        st_.textY = cy;
        const double x = cx / sc_.perPixelX, y = cy / sc_.perPixelY;
        const double rx = r / sc_.perPixelX, ry = r / sc_.perPixelY;
        if (!Finite(x, y) || x < box_.x0 - rx || x > box_.x1 + rx || y < box_.y0 - ry || y > box_.y1 + ry) return;
        Apply(true);
        p_.drawEllipse(QPointF(std::nearbyint(x), std::nearbyint(y)), rx, ry);
    }

    // A polygon through PolyPts: device pixels rounded halves to even, kept
    // in the scratch table clamped, drawn from the clipped doubles.
    void Polygon(const SoilBlock& b, EditorState& ed) {
        const int n = b.nPt;
        if (n <= 0 || n > static_cast<int>(ed.PolyPts.size())) return;
        std::vector<QPointF> pts;
        pts.reserve(static_cast<std::size_t>(n));
        for (int j = 0; j < n; ++j) {
            const auto k = static_cast<std::size_t>(j);
            const double cx = std::trunc((b.PX[k] - ed.ViewLeftX) * ed.ViewScale);
            const double cy = std::trunc((ed.ViewTopY - b.PY[k]) * ed.ViewScale);
            const double px = std::nearbyint(cx / sc_.perPixelX);
            const double py = std::nearbyint(cy / sc_.perPixelY);
            if (!Finite(px, py)) return;
            ed.PolyPts[k] = {ClampToInt(px), ClampToInt(py)};
            pts.emplace_back(px, py);
        }
        DrawPixels(std::move(pts));
    }

    void DrawPixels(std::vector<QPointF> pts) {
        bool inside = true;
        for (const QPointF& q : pts)
            inside = inside && q.x() >= box_.x0 && q.x() <= box_.x1 && q.y() >= box_.y0 && q.y() <= box_.y1;
        if (!inside) pts = ClipPolygon(std::move(pts), box_);
        if (pts.size() < 2) return;
        Apply(true);
        p_.drawPolygon(pts.data(), static_cast<int>(pts.size()));
    }

    void MoveTo(double x, double y) {
        st_.textX = x;
        st_.textY = y;
    }

    // Text with its top-left corner at the current text position, in the pen
    // colour; text that cannot reach the picture is skipped.
    void Print(const std::string& s) {
        const double x = st_.textX / sc_.perPixelX, y = st_.textY / sc_.perPixelY;
        if (!Finite(x, y) || x > box_.x1 || y > box_.y1 || y < -1000 || x < -20000) return;
        Apply(false);
        const QFontMetricsF& fm = Metrics();
        p_.drawText(QPointF(std::nearbyint(x), std::nearbyint(y) + fm.ascent()), Q(s));
    }

    // Text at the current position that would start left of or above the
    // picture: a label cut there reads as another number ("-10" as "10").
    bool StartsOutside() const { return st_.textX < 0 || st_.textY < 0; }

    // The height of a line of text in the font in force, in twips.
    double TextHeightTwips() {
        Apply(false);
        return Metrics().height() * sc_.perPixelY;
    }

private:
    void Apply(bool fill) {
        const Qt::PenStyle ps = st_.penStyle == 2 ? Qt::DotLine : Qt::SolidLine;
        // A black pen under exclusive-or changes no pixel: no stroke at all.
        const bool noStroke = st_.rasterMode == kRasterXorPen && st_.penColour == kBlack;
        QPen pen = noStroke ? QPen(Qt::NoPen)
                            : QPen(PaletteQColor(st_.penColour), std::max(1, st_.penWidth), ps,
                                   Qt::RoundCap, fill ? Qt::MiterJoin : Qt::RoundJoin);
        if (pen != p_.pen()) p_.setPen(pen);
        const QBrush brush = fill ? QBrush(PaletteQColor(st_.fillColour), BrushOf(st_.fillStyle)) : QBrush();
        if (brush != p_.brush()) p_.setBrush(brush);
        const auto mode = st_.rasterMode == kRasterXorPen ? QPainter::RasterOp_SourceXorDestination
                                              : QPainter::CompositionMode_SourceOver;
        if (mode != p_.compositionMode()) p_.setCompositionMode(mode);
        if (!fontSet_ || fontSize_ != st_.fontSize || fontBold_ != st_.bold) {
            fontSize_ = st_.fontSize;
            fontBold_ = st_.bold;
            p_.setFont(FormFont(SectionPainter::kFace, fontSize_, fontBold_));
            metrics_.reset();
            fontSet_ = true;
        }
    }
    const QFontMetricsF& Metrics() {
        if (!metrics_) metrics_ = std::make_unique<QFontMetricsF>(p_.font(), p_.device());
        return *metrics_;
    }

    QPainter p_;
    DrawState& st_;
    const TwipsScale& sc_;
    Box box_;
    int w_, h_;
    bool fontSet_ = false;
    double fontSize_ = 0;
    bool fontBold_ = false;
    std::unique_ptr<QFontMetricsF> metrics_;
};

// The tool of `mode`, if any, is asked what to show.
template <typename F>
bool ToolSays(const EditorState& ed, int mode, F ask) {
    const CanvasTool* t = ed.tools.For(mode);
    return t && (t->*ask)();
}

// The point a chain tool in force draws its rubber band from; -1 for none.
int BandFrom(const Model& m, const EditorState& ed) {
    const CanvasTool* t = ed.Tool();
    if (!t || !t->ChainsLines()) return -1;
    const int i = t->picks.SelIndex;
    return i >= 0 && i < std::min<int>(m.BndPtCount, static_cast<int>(m.BndPt.size())) ? i : -1;
}

// The layers of a full repaint over one surface.
class Repaint : GuidePainter {
public:
    Repaint(Surface& s, const Model& m, EditorState& ed, const PaintOptions& opt, double heightTwips)
        : s_(s), st_(s.st()), m_(m), ed_(ed), opt_(opt), heightTwips_(heightTwips) {}

    void Run() {
        s_.Clear();
        if (const BoundaryPoint* p = Point(BandFrom(m_, ed_))) {
            ed_.RubberEndX = p->X;
            ed_.RubberEndY = p->Y;
        }
        Blocks();
        Grid();
        PositionsAndPiles();
        PointsAndLines();
        Guides();
        Loads();
        Results();
        Labels();
        st_.penColour = kCyan;
        st_.fontSize = 9;
        st_.bold = false;
    }

private:
    double Cx(double x) const { return std::trunc((x - ed_.ViewLeftX) * ed_.ViewScale); }
    double Cy(double y) const { return std::trunc((ed_.ViewTopY - y) * ed_.ViewScale); }
    void Line(double x1, double y1, double x2, double y2) { s_.Line(Cx(x1), Cy(y1), Cx(x2), Cy(y2)); }
    void Line(const BoundaryPoint& a, const BoundaryPoint& b) { Line(a.X, a.Y, b.X, b.Y); }

    static int Used(int count, std::size_t capacity) {
        return std::clamp(count, 0, static_cast<int>(capacity));
    }
    const BoundaryPoint* Point(int i) const {
        if (i < 0 || i >= Used(m_.BndPtCount, m_.BndPt.size())) return nullptr;
        return &m_.BndPt[static_cast<std::size_t>(i)];
    }
    bool Ends(const BoundaryLine& l, const BoundaryPoint*& a, const BoundaryPoint*& b) const {
        a = Point(l.pt1);
        b = Point(l.pt2);
        return a && b;
    }
    bool Selected(int i) const {
        return i >= 0 && i < static_cast<int>(ed_.SelFlags.size()) && ed_.SelFlags[static_cast<std::size_t>(i)] == 1;
    }

    void Blocks() {
        st_.penWidth = 5;
        st_.penColour = kBlack;
        st_.rasterMode = kRasterXorPen;
        for (int i = 0; i < Used(m_.SoilLayerCount, m_.SoilLayer.size()); ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (m_.SoilLayer[k].nPt <= 0) continue;
            st_.fillColour = kOlive;
            if (m_.SoilParam[k].SoilType == 0) st_.fillColour = m_.DrainMethod[k].Method == 0 ? 4 : 3;
            st_.fillStyle = 0;
            s_.Polygon(m_.SoilLayer[k], ed_);
        }
        st_.penColour = kBlack;
        for (int i = 0; i < Used(m_.EmbankmentCount, m_.Embankment.size()); ++i) {
            const auto& b = m_.Embankment[static_cast<std::size_t>(i)];
            if (b.nPt <= 0) continue;
            st_.fillColour = kSilver;
            st_.fillStyle = 0;
            s_.Polygon(b, ed_);
        }
        st_.rasterMode = kRasterCopyPen;
        st_.penColour = kBlack;
        for (int i = 0; i < Used(m_.CutCount, m_.CutBlock.size()); ++i) {
            const auto& b = m_.CutBlock[static_cast<std::size_t>(i)];
            if (b.nPt <= 0) continue;
            st_.fillColour = kMaroon;
            st_.fillStyle = 7;
            s_.Polygon(b, ed_);
        }
    }

    void Grid() {
        st_.fillColour = kBlack;
        st_.fillStyle = 1;
        st_.penWidth = 1;
        st_.penColour = kGrey;
        // A value whose line lies off the left or top edge is not written:
        // only its cut end would show.
        for (int v = -500; v <= 500; v += 10) {
            Line(v, -500, v, 500);
            st_.rasterMode = kRasterCopyPen;
            s_.MoveTo(Cx(v) + 50, 0);
            if (!s_.StartsOutside()) s_.Print(PrintedNumber(v));
        }
        for (int v = -500; v <= 500; v += 10) {
            Line(-500, v, 500, v);
            st_.rasterMode = kRasterCopyPen;
            s_.MoveTo(0, Cy(v) + 50);
            if (!s_.StartsOutside()) s_.Print(PrintedNumber(v));
        }
    }

    void PositionsAndPiles() {
        st_.penStyle = 2;
        st_.penColour = kRed;
        // The names stand below the row of grid values along the top edge,
        // never over it.
        const double nameTop = std::max(150.0, std::ceil(s_.TextHeightTwips()) + 30);
        for (int i = 0; i < Used(m_.CalcPosCount, m_.Cond.CalcPosX.size()); ++i) {
            const double x = m_.Cond.CalcPosX[static_cast<std::size_t>(i)];
            Line(x, -500, x, 500);
            st_.rasterMode = kRasterCopyPen;
            s_.MoveTo(Cx(x) + 50, nameTop);
            s_.Print(m_.Cond.CalcPosName[static_cast<std::size_t>(i)]);
        }
        st_.penStyle = 0;
        st_.penWidth = 3;
        for (int i = 0; i < Used(m_.SheetPileCount, m_.SheetPile.size()); ++i) {
            const SheetPileRec& p = m_.SheetPile[static_cast<std::size_t>(i)];
            st_.penColour = kMagenta;
            Line(p.X, p.Top, p.X, p.Bottom);
        }
    }

    void PointsAndLines() {
        st_.penWidth = 1;
        st_.penStyle = 0;
        st_.penColour = kCyan;
        for (int i = 0; i < Used(m_.BndPtCount, m_.BndPt.size()); ++i) {
            const BoundaryPoint& p = m_.BndPt[static_cast<std::size_t>(i)];
            s_.Circle(Cx(p.X), Cy(p.Y), 40);
            s_.Print(PrintedNumber(i + 1));
        }
        const bool tool9 = ToolSays(ed_, ed_.cmd_mode, &CanvasTool::MarksCutLines) ||
                           ToolSays(ed_, ed_.old_mode, &CanvasTool::MarksCutLines);
        const bool intersecting = ToolSays(ed_, ed_.cmd_mode, &CanvasTool::ExtendsPickedLines);
        for (int i = 0; i < Used(m_.BndLineCount, m_.BndLine.size()); ++i) {
            const BoundaryPoint *a, *b;
            if (!Ends(m_.BndLine[static_cast<std::size_t>(i)], a, b)) continue;
            st_.penColour = kCyan;
            if (!tool9 && Selected(i)) {
                st_.penColour = kYellow;
                if (intersecting) {
                    st_.penStyle = 2;
                    double e1x = b->X, e1y = b->Y, e2x = a->X, e2y = a->Y;
                    ExtendSeg(a->X, a->Y, b->X, b->Y, 1000, e1x, e1y);
                    ExtendSeg(b->X, b->Y, a->X, a->Y, 1000, e2x, e2y);
                    Line(e1x, e1y, e2x, e2y);
                    st_.penStyle = 0;
                }
            }
            Line(*a, *b);
        }
        st_.penStyle = 2;
        for (int i = 0; i < Used(m_.CutLineCount, m_.CutLine.size()); ++i) {
            const BoundaryPoint *a, *b;
            if (!Ends(m_.CutLine[static_cast<std::size_t>(i)], a, b)) continue;
            st_.penColour = tool9 && Selected(i) ? 14 : 10;
            Line(*a, *b);
        }
        st_.penStyle = 0;
    }

    void Guides() {
        if (const CanvasTool* t = ed_.Tool()) t->DrawGuides(m_, *this);
    }
    void DottedLine(double x1, double y1, double x2, double y2) override {
        st_.penColour = kYellow;
        st_.penStyle = 2;
        Line(x1, y1, x2, y2);
        st_.penStyle = 0;
    }

    void Loads() {
        auto label = [&](double v, const char* unit) { s_.Print(LoadLabel(v, unit)); };
        st_.penColour = kYellow;
        for (int i = 0; i < Used(m_.StripLoadCount, m_.StripLoad.size()); ++i) {
            const LoadRec& r = m_.StripLoad[static_cast<std::size_t>(i)];
            const double h = 0.1 * r.Load;
            SoilBlock shape;
            shape.nPt = 4;
            shape.PX = {r.X1, r.X1, r.X2, r.X2};
            shape.PY = {r.Y1, r.Y1 + h, r.Y2 + h, r.Y2};
            st_.fillColour = kYellow;
            st_.fillStyle = 3;
            s_.Polygon(shape, ed_);
            const double yh = r.Y1 > r.Y2 ? r.Y1 : r.Y2;
            s_.MoveTo(std::trunc(((r.X1 + r.X2) * 0.5 - ed_.ViewLeftX) * ed_.ViewScale) - 450, Cy(yh + h) - 200);
            label(r.Load, "kN/m2");
        }
        st_.rasterMode = kRasterCopyPen;
        auto arrows = [&](const auto& table, i16 count, double perUnit, const char* unit) {
            for (int i = 0; i < Used(count, table.size()); ++i) {
                const LoadRec& r = table[static_cast<std::size_t>(i)];
                const double h = perUnit * r.Load;
                SoilBlock shape;
                shape.nPt = 3;
                shape.PX = {r.X1, r.X1 - 1, r.X1 + 1};
                shape.PY = {r.Y1, r.Y1 + h, r.Y1 + h};
                st_.fillColour = kYellow;
                st_.fillStyle = 2;
                s_.Polygon(shape, ed_);
                s_.MoveTo(Cx(r.X1) - 350, Cy(r.Y1 + h) - 200);
                label(r.Load, unit);
            }
        };
        arrows(m_.PointLoad, m_.PointLoadCount, 0.01, "kN");
        arrows(m_.LineLoad, m_.LineLoadCount, 0.1, "kN/m");
    }

    void Results() {
        st_.penColour = kBlack;
        if (!opt_.showSettled) return;
        st_.penColour = kRed;
        // Before a run the reset rows would all sit at the origin.
        if (!opt_.resultsRead) return;
        for (int k = 0; k < kProfileRows; ++k) {
            const ResultRow& r = m_.SettledSurface[static_cast<std::size_t>(k)];
            s_.Circle(Cx(r.x), Cy(r.y - r.v), 12);
        }
        for (int i = 0; i < Used(m_.CalcPosCount, m_.Cond.CalcPosX.size()); ++i) {
            const double x = m_.Cond.CalcPosX[static_cast<std::size_t>(i)];
            for (int k = 0; k < kMaxCalcPos; ++k) {
                const ResultRow& r = m_.CalcPosResult[static_cast<std::size_t>(k)];
                // The engine writes x with six decimals.
                if (!(std::fabs(r.x - x) <= 0.0005) || !(r.v > 0.0005)) continue;
                s_.MoveTo(Cx(x) + 50, std::trunc(heightTwips_) - 300);
                s_.Print(SettlementLabel(r.v));
                break;
            }
        }
    }

    void Labels() {
        st_.fontSize = 11;
        st_.bold = true;
        auto kind = [&](const auto& table, i16 count, int colour, const char* letter) {
            st_.penColour = colour;
            for (int i = 0; i < Used(count, table.size()); ++i) {
                const SoilBlock& b = table[static_cast<std::size_t>(i)];
                s_.MoveTo(Cx(b.CX) - 100, Cy(b.CY) - 100);
                s_.Print(letter + PrintedNumber(i + 1));
            }
        };
        kind(m_.CutBlock, m_.CutCount, 10, "K");
        kind(m_.Embankment, m_.EmbankmentCount, 10, "M");
        kind(m_.SoilLayer, m_.SoilLayerCount, 13, "S");
    }

    Surface& s_;
    DrawState& st_;
    const Model& m_;
    EditorState& ed_;
    const PaintOptions& opt_;
    double heightTwips_;
};

void PrepareImage(QImage& img, const TwipsScale& sc) {
    // Point sizes of the labels follow the screen's DPI.
    img.setDotsPerMeterX(static_cast<int>(std::lround(kTwipsPerInch / sc.perPixelX / 0.0254)));
    img.setDotsPerMeterY(static_cast<int>(std::lround(kTwipsPerInch / sc.perPixelY / 0.0254)));
}

}  // namespace

void SectionPainter::UpdateBand(const Model& m, EditorState& ed, int from) {
    const BoundaryPoint& s = m.BndPt[static_cast<std::size_t>(from)];
    state_.rasterMode = kRasterXorPen;
    auto cx = [&](double x) { return std::trunc((x - ed.ViewLeftX) * ed.ViewScale); };
    auto cy = [&](double y) { return std::trunc((ed.ViewTopY - y) * ed.ViewScale); };
    band_ = {true, cx(s.X), cy(s.Y), cx(ed.CursorX), cy(ed.CursorY), state_.penColour, state_.penWidth,
             state_.penStyle};
    ed.RubberEndX = ed.CursorX;
    ed.RubberEndY = ed.CursorY;
}

void SectionPainter::Paint(QImage& picture, const Model& m, EditorState& ed, const PaintOptions& opt) {
    if (const int from = BandFrom(m, ed); from >= 0) {
        UpdateBand(m, ed, from);
        if (!ed.repaintFullyOnce) return;
        ed.repaintFullyOnce = false;
    }
    FullRepaint(picture, m, ed, opt);
}

void SectionPainter::FullRepaint(QImage& picture, const Model& m, EditorState& ed, const PaintOptions& opt) {
    band_.shown = false;  // the band starts again from zero length
    if (picture.isNull()) return;
    PrepareImage(picture, scale_);
    Surface s(picture, state_, scale_);
    Repaint(s, m, ed, opt, picture.height() * scale_.perPixelY).Run();
}

void SectionPainter::DrawSegment(QImage& picture, double x1, double y1, double x2, double y2, int colour) const {
    if (picture.isNull()) return;
    DrawState plain;
    plain.penColour = colour;
    Surface s(picture, plain, scale_);
    s.Line(x1, y1, x2, y2);
}

void SectionPainter::FillPolygon(QImage& picture, const ScreenPoint* pts, int n, int colour) const {
    if (picture.isNull() || pts == nullptr || n < 3) return;
    DrawState plain;
    plain.penColour = colour;
    plain.fillColour = colour;
    plain.fillStyle = 0;
    Surface s(picture, plain, scale_);
    std::vector<QPointF> v;
    for (int i = 0; i < n; ++i) v.emplace_back(pts[i].x, pts[i].y);
    s.DrawPixels(std::move(v));
}

void SectionPainter::DrawBand(QPainter& p, const QSize& area) const {
    if (!band_.shown) return;
    double x1 = band_.x1 / scale_.perPixelX, y1 = band_.y1 / scale_.perPixelY;
    double x2 = band_.x2 / scale_.perPixelX, y2 = band_.y2 / scale_.perPixelY;
    const Box box{-kMargin, -kMargin, area.width() + kMargin, area.height() + kMargin};
    if (!ClipSegment(x1, y1, x2, y2, box)) return;
    const QLineF line(std::nearbyint(x1), std::nearbyint(y1), std::nearbyint(x2), std::nearbyint(y2));
    if (line.p1() == line.p2()) return;
    p.save();
    // Two tones, a white line in a black edge: whatever colour a layer
    // shows, one of them stands out against it (an exclusive-or of one
    // colour vanishes over the fill of that colour).
    const int w = std::max(1, band_.width);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(PaletteQColor(kBlack), w + 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(line);
    p.setPen(QPen(PaletteQColor(kWhite), w, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(line);
    p.restore();
}

QImage SectionPainter::Shown(const QImage& picture) const {
    QImage out = picture.copy();
    if (out.isNull()) return out;
    QPainter p(&out);
    DrawBand(p, out.size());
    return out;
}

}  // namespace kova
