#pragma once
// The five sand curves over their common pressure column (commit on OK),
// and the store and restore of the default curves in BKHough1.CSV.
#include <array>
#include <filesystem>
#include <vector>

#include "model/model.hpp"
#include "model/reset.hpp"
#include "platform/message.hpp"

namespace kova {

// Rows of the table: one per point, all the model and the file can hold.
inline constexpr int kSandRows = kMaxCurvePts;

// Pressure (kN/m2), then the void ratios of sand classes 1 to 5.
using SandRow = std::array<double, 1 + kSandCurves>;

// The question of both curve dialogs at OK about a curve the calculation
// cannot use: `fault` and "このまま保存しますか？", No by default. True to store.
bool AskToStoreAnyway(MessageSink& ui, const std::string& fault);

class Dialog8Form {
public:
    Dialog8Form() = default;
    explicit Dialog8Form(const Model& m) { Load(m.BKHoughCurve); }

    // The rows of curve 0's points (the five curves share count and pressures).
    void Load(const SandCurves& curves);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const SandRow& Row(int i) const { return rows_.at(static_cast<std::size_t>(i)); }

    // The rows as the grid holds them (at most kSandRows are taken).
    void SetRows(std::vector<SandRow> rows);
    // One value; a row index at RowCount() appends a row.
    void SetValue(int row, int column, double v);

    // Curves built from the rows, on top of `base` (the sixth, unused curve
    // and the points above the count keep what they hold).
    SandCurves Curves(const SandCurves& base) const;

    // OK: the rows become the model's sand curves.
    void Apply(Model& m) const { m.BKHoughCurve = Curves(m.BKHoughCurve); }

    // The check at OK of what the calculation refuses of a sand curve a
    // layer of m reads: fewer points than its method needs, a pressure that
    // does not rise from one row to the next, a void ratio that rises with
    // it (the ground would swell under load). The order is asked about
    // whether or not a layer reads the curves. Asks whether to store the
    // curves so; true to store.
    bool ConfirmUsableCurves(const Model& m, MessageSink& ui) const;

    // "現在の値を初期値としてシステム登録": after the confirmation, writes the
    // rows to BKHough1.CSV in appPath; the model is not changed.
    bool StoreDefaults(const Model& m, const std::filesystem::path& appPath, MessageSink& ui) const;

    // "初期値に戻す": after the confirmation, reads BKHough1.CSV into the
    // model at once and reloads the rows from it; a failed read changes
    // neither.
    bool RestoreDefaults(Model& m, const std::filesystem::path& appPath, MessageSink& ui);

private:
    std::vector<SandRow> rows_;
};

}  // namespace kova
