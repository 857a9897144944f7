#pragma once
// A picture box that records what was drawn, for tests of plots and graphs.
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.hpp"

namespace kova::test {

struct DrawOp {
    enum Kind { Back, Line, Circle, Text } kind = Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Circle: centre in x1, y1; Text: corner
    double radius = 0;
    std::string text;
    Rgb colour;  // Back: the background; otherwise the foreground
    LineStyle style = LineStyle::Solid;
    int width = 1;
    bool filled = false;
    Rgb fill;
};

class RecordingPicture : public Picture {
public:
    explicit RecordingPicture(double width = 7155, double height = 3285, double fontPoints = 9,
                              TwipsScale scale = {})
        : width_(width), height_(height), points_(fontPoints), scale_(scale) {}

    double Width() const override { return width_; }
    double Height() const override { return height_; }
    TwipsScale Scale() const override { return scale_; }
    double FontPoints() const override { return points_; }

    void SetBackColor(Rgb c) override {
        DrawOp op = Current(DrawOp::Back);
        op.colour = c;
        ops.push_back(op);
    }
    void SetForeColor(Rgb c) override { fore_ = c; }
    void SetLineStyle(LineStyle s) override { style_ = s; }
    void SetLineWidth(int pixels) override { width_px_ = pixels; }
    void SetFill(bool filled, Rgb fillColour) override {
        filled_ = filled;
        fill_ = fillColour;
    }

    void Line(double x1, double y1, double x2, double y2) override {
        DrawOp op = Current(DrawOp::Line);
        op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
        ops.push_back(op);
    }
    void Circle(double x, double y, double radius) override {
        DrawOp op = Current(DrawOp::Circle);
        op.x1 = x, op.y1 = y, op.radius = radius;
        ops.push_back(op);
    }
    void Text(double x, double y, std::string_view utf8) override {
        DrawOp op = Current(DrawOp::Text);
        op.x1 = x, op.y1 = y, op.text = std::string(utf8);
        ops.push_back(op);
    }

    std::vector<DrawOp> Of(DrawOp::Kind k) const {
        std::vector<DrawOp> r;
        for (const DrawOp& op : ops)
            if (op.kind == k) r.push_back(op);
        return r;
    }
    std::vector<DrawOp> Lines() const { return Of(DrawOp::Line); }
    std::vector<DrawOp> Circles() const { return Of(DrawOp::Circle); }
    std::vector<DrawOp> Texts() const { return Of(DrawOp::Text); }
    std::vector<std::string> TextStrings() const {
        std::vector<std::string> r;
        for (const DrawOp& op : ops)
            if (op.kind == DrawOp::Text) r.push_back(op.text);
        return r;
    }

    // Lines and circles with a point outside the box (beyond `slack`
    // twips), or with a coordinate that is not a finite number.
    int OutsideBox(double slack = 0.5) const {
        int n = 0;
        auto in = [&](double x, double y) {
            return x >= -slack && x <= width_ + slack && y >= -slack && y <= height_ + slack;
        };
        for (const DrawOp& op : ops) {
            if (op.kind == DrawOp::Line && !(in(op.x1, op.y1) && in(op.x2, op.y2))) ++n;
            if (op.kind == DrawOp::Circle && !(in(op.x1, op.y1) && op.radius == op.radius)) ++n;
        }
        return n;
    }

    std::vector<DrawOp> ops;

private:
    DrawOp Current(DrawOp::Kind k) const {
        DrawOp op;
        op.kind = k;
        op.colour = fore_;
        op.style = style_;
        op.width = width_px_;
        op.filled = filled_;
        op.fill = fill_;
        return op;
    }

    double width_, height_, points_;
    TwipsScale scale_;
    Rgb fore_{};
    LineStyle style_ = LineStyle::Solid;
    int width_px_ = 1;
    bool filled_ = false;
    Rgb fill_{};
};

}  // namespace kova::test
