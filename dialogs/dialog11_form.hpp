#pragma once
// The ground-improvement table of every soil layer (commit on OK): drain
// method, drain geometry and coefficients, and the sand-compaction-pile
// ratios from which the settlement reduction factor beta is derived.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.hpp"

namespace kova {

// Items of the method column, in code order (0 untreated, 1 triangular
// drains, 2 square drains).
inline constexpr std::array<std::string_view, 3> kDrainMethodItems{
    "無処理", "ドレーン工法（三角形）", "ドレーン工法（四角形）"};

// Columns of the values: the details the user types, all but beta.
using DrainColumn = DrainDetail;
inline constexpr int kDrainValueCount = kReductionFactor;

struct DrainRow {
    std::string name;  // shown only
    int method = 0;    // as stored; a code outside the list is kept
    std::array<double, kDrainValueCount> values{};
};

// Beta from the stress-sharing ratio n and the replacement ratio as:
// 1 - as from as 0.5 on, else 1 / ((n - 1) as + 1); 1 below 0.001, for an
// untreated layer, and wherever the quotient has no value; to 0.001.
double ReductionFactor(int method, double n, double as);

struct DrainRefusal {
    int row;     // 0-based
    int column;  // DrainColumn
    std::string message;
};

class Dialog11Form {
public:
    explicit Dialog11Form(const Model& m);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const DrainRow& Row(int i) const { return rows_.at(static_cast<std::size_t>(i)); }

    // What the method cell shows: the item, or the bare number of a code
    // that is not in the list.
    static std::string MethodText(int code);
    // The code of a picked item; nothing for any other text.
    static std::optional<int> MethodOfItem(std::string_view text);

    void SetMethod(int row, int code);
    void SetValue(int row, int column, double v);

    // The first row that breaks a rule, with the column and the message
    // naming the layer and the rule; nothing when every row may be stored.
    std::optional<DrainRefusal> Check() const;

    // Checks, then stores every row with its beta. On a refusal nothing is
    // stored and the message is returned.
    std::optional<std::string> Apply(Model& m) const;

private:
    std::vector<DrainRow> rows_;
};

}  // namespace kova
