#pragma once
// The soil-constant curves editor (live edit): a selector of the clay
// layers with one column per curve kind, the points of the chosen curve,
// and the axis maxima of its plot. Every finished edit of the points is
// stored at once; the snapshot taken on opening puts every curve back on
// cancel.
//
// The points are kept in the model's units, so a point the user did not
// edit is stored back exactly as it was, whatever the table shows of it.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/soil_curve_plot.hpp"
#include "model/model.hpp"

namespace kova {

// Rows of the point table: every point a curve of the model can hold.
inline constexpr int kCurveRows = kMaxCurvePts;

struct CurvePoint {
    double X = 0;  // pressure / 10 (kN/m2)
    double Y = 0;  // e, Mv x 10 (m2/kN) or Cv (cm2/日)
};

// What the calculation refuses of a curve soil layer `layer` reads by its
// method (e-logP and Cc: its e-logP curve; Mv: its logMv-logP curve; a clay
// that consolidates also its logCv-logP curve; the sand curves are the sand
// dialog's): fewer points than the method needs, a point of 0 pressure or
// value, a pressure that does not increase, a void ratio that rises. The
// layer, the curve and the point are named; nothing when the layer's curves
// can be used.
std::optional<std::string> LayerCurveFault(const Model& m, int layer);

class Dialog5Form {
public:
    // Takes the snapshot of the three curve tables and sets the defaults.
    explicit Dialog5Form(Model& m);

    // ---- selector (row 0 the header; rows 1.. the clay layers in layer order)
    int SelectorRows() const { return static_cast<int>(clay_.size()); }
    std::string SelectorText(int row, int col) const;

    // The user moved to cell (row, col) of the selector. On a curve cell the
    // chosen curve is loaded into the points and both axis boxes are set
    // from the remembered maxima; returns true then.
    bool Choose(int row, int col);

    int cl() const { return cl_; }
    int c_rw() const { return c_rw_; }
    int rw() const { return rw_; }
    // The kind of the current column (none outside the three curve columns).
    CurveKind Kind() const;
    // Edits of the points are stored only while a curve cell is chosen.
    bool PointsEditable() const { return cl_ >= 2 && c_rw_ >= 1; }

    // ---- points (0-based rows; the table shows row + 1)
    int PointCount() const { return static_cast<int>(points_.size()); }
    const CurvePoint& Point(int row) const { return points_.at(static_cast<std::size_t>(row)); }
    // Texts of a loaded row: number "#0", P "##0.000", the kind's value text.
    std::string PointText(int row, int col) const;
    // Header and number format of the value column for the kind on show.
    std::string ValueHeader() const;
    std::string ValuePattern() const;

    // A row of the point table as the grid holds it after an edit: the
    // loaded point it started from (-1 for an inserted row) and the values
    // typed into it, in the units shown (nothing for a cell left alone).
    struct RowInput {
        int origin = -1;
        std::optional<double> p;
        std::optional<double> value;
    };
    // The points become the rows: a cell left alone keeps its loaded point's
    // own value, a typed one is stored as shown (P x 0.1, Mv x 10), an empty
    // one is 0. At most kCurveRows rows. Ignored unless PointsEditable().
    void UpdatePoints(const std::vector<RowInput>& rows);
    // Writes the points into the chosen curve of the model (count and
    // points; entries above the count keep their numbers) and refreshes
    // the selector's mark. Does nothing unless PointsEditable().
    void StorePoints();

    // ---- axis boxes
    const std::string& XText() const { return txtX_; }
    const std::string& YText() const { return txtY_; }
    int pic_sw() const { return picSw_; }
    void SetBoxFocus(bool inBox) { picSw_ = inBox ? 1 : 0; }
    // The user changed a box's text; true when the plot is to be repainted.
    bool XEdited(std::string text);
    bool YEdited(std::string text);
    double CurveXMax(int kind) const { return xMax_.at(static_cast<std::size_t>(kind)); }
    double CurveYMax(int kind) const { return yMax_.at(static_cast<std::size_t>(kind)); }

    // What the plot draws now: the boxes' values, the kind and the points
    // in the units shown.
    SoilPlotInput PlotInput() const;

    // Puts the snapshot back (cancel, close box).
    void Restore();

    // The first fault of a curve a clay layer reads (LayerCurveFault).
    std::optional<std::string> FirstCurveFault() const;

private:
    CurveTable& Curve(int kind, int layer);
    void LoadPoints();

    Model& m_;
    std::array<std::array<CurveTable, kMaxBlocks + 1>, 3> snapshot_;
    std::vector<int> clay_;  // layer index of each selector row
    int cl_ = 0, c_rw_ = 0, rw_ = 0, picSw_ = 0;
    int shownKind_ = 0;  // kind of the value column's header and format
    std::vector<CurvePoint> loaded_;  // as the chosen curve was loaded
    std::vector<CurvePoint> points_;
    std::array<double, 3> xMax_{1000, 1000, 1000};
    std::array<double, 3> yMax_{6, 0.1, 1000};
    std::string txtX_ = "1000";
    std::string txtY_ = "6";
};

}  // namespace kova
