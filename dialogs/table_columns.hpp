#pragma once
// The columns of a table dialog, declared once: the header as the grid shows
// it, the width, the format a value shows in, the item of the table of
// limits, and how a row's value is got and set. The grid is filled from rows
// and read back into rows by these, so that a dialog holds no cell-by-cell
// copies, and every table checks its cells by the same rule: a number
// outside its typed range is refused when the cell is left, the old text
// comes back, then the message names the column and the row.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/grid/qex_flg.hpp"
#include "dialogs/limit_check.hpp"
#include "dialogs/table_form.hpp"

namespace kova {

enum class ColumnKind {
    Number,  // a real within its item's typed range
    Whole,   // an integer within its item's typed range
    Stage,   // a loading stage: any 16-bit number is kept, OK checks 1 to 5
    Text,    // a name the files can hold
    Code,    // the code of a drop-down item
};

template <class Row>
struct TableColumn {
    const char* header;  // as the header shows it
    int width;           // twips
    ColumnKind kind;
    const char* format = "";  // a value's text on opening
    const char* typed = nullptr;  // a typed value's text ("" as typed, to full precision); nullptr: format
    Item item = Item::X;      // Number and Whole
    double (*get)(const Row&) = nullptr;
    void (*set)(Row&, double) = nullptr;
    std::string (*getText)(const Row&) = nullptr;  // Text
    void (*setText)(Row&, std::string) = nullptr;
    const char* items = "";  // Code: the drop-down items, "|" between
};

// Column 0 is the row number ("No."), the declared columns follow.
template <class Row>
class ColumnTable {
public:
    using Column = TableColumn<Row>;
    ColumnTable(std::vector<Column> columns, const char* numberFormat = "#0")
        : columns_(std::move(columns)), numberFormat_(numberFormat) {}

    const std::vector<Column>& Columns() const { return columns_; }
    const Column& At(int col) const { return columns_.at(static_cast<std::size_t>(col - 1)); }

    // Sets the grid up by `layout` (rows, row height, width, name, tied),
    // its columns from the declaration, and fills it with `rows`.
    void Fill(grid::QEX_FLG& q, GridLayout layout, const std::vector<Row>& rows) const {
        layout.cols = static_cast<int>(columns_.size()) + 1;
        layout.widths = {500};
        layout.headers = {QStringLiteral("No.")};
        layout.formats = {QString()};
        for (const Column& c : columns_) {
            layout.widths.push_back(c.width);
            layout.headers.push_back(QString::fromUtf8(c.header));
            layout.formats.push_back(QString::fromUtf8(c.typed ? c.typed : c.format));
        }
        SetUpGrid(q, layout);
        grid::GridModel& g = q.Model();
        for (int col = 1; col < layout.cols; ++col) {
            const Column& c = At(col);
            if (c.kind == ColumnKind::Code) {
                q.SetDropDown(col, true);
                q.SetDropItems(col, QString::fromUtf8(c.items));
            } else if (c.kind != ColumnKind::Text) {
                g.SetNumeric(col, true);
            }
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int r = static_cast<int>(i) + 1;
            g.SetCell(r, 0, Fmt(r, numberFormat_));
            for (int col = 1; col < layout.cols; ++col) {
                const Column& c = At(col);
                if (c.kind == ColumnKind::Text) g.SetCell(r, col, QString::fromStdString(c.getText(rows[i])));
                else if (c.kind == ColumnKind::Code) g.SetCellCode(r, col, static_cast<int>(c.get(rows[i])));
                else g.SetCellValue(r, col, c.get(rows[i]), QString::fromUtf8(c.format));
            }
        }
        q.SetDrawing(true);
    }

    // Reads the grid's rows in use (at most `capacity`) into `rows`, which
    // holds the current rows on entry, so that what no column shows is
    // kept; a new row starts as Row{}. False after the first refused
    // cell's message, `rows` then unusable.
    bool Read(const grid::GridModel& g, CellReader& read, int capacity, std::vector<Row>& rows) const {
        const int u = std::min(g.RowsInUse(), capacity);
        rows.resize(static_cast<std::size_t>(u));
        for (int r = 1; r <= u && !read.Failed(); ++r) {
            Row& row = rows[static_cast<std::size_t>(r - 1)];
            for (int col = 1; col <= static_cast<int>(columns_.size()); ++col) {
                const Column& c = At(col);
                switch (c.kind) {
                    case ColumnKind::Number:
                        if (auto v = read.Real(r, col, c.item)) c.set(row, *v);
                        break;
                    case ColumnKind::Whole:
                        if (auto v = read.Int(r, col, c.item)) c.set(row, *v);
                        break;
                    case ColumnKind::Stage:
                        if (auto v = read.Int16(r, col, kStageMessage, MsgIcon::None)) c.set(row, *v);
                        break;
                    case ColumnKind::Text:
                        if (auto v = read.Name(r, col)) c.setText(row, *v);
                        break;
                    case ColumnKind::Code: c.set(row, read.Code(r, col)); break;
                }
            }
        }
        return !read.Failed();
    }

    // The check when a cell is left: the cell of the last edit, when its
    // column is a checked number or a name. True when refused (the old text
    // is back and the message shown).
    bool RefuseEdited(grid::QEX_FLG& q, MessageSink& msg) const {
        grid::GridModel& g = q.Model();
        const int col = g.Last().col;
        if (g.LastAction() != grid::GridModel::Action::Edit || col < 1 || col > static_cast<int>(columns_.size()))
            return false;
        const Column& c = At(col);
        if (c.kind == ColumnKind::Text) return RefuseEditedName(g, msg);
        if (c.kind == ColumnKind::Number || c.kind == ColumnKind::Whole) return RefuseOutsideLimit(q, c.item, 1, msg);
        if (c.kind == ColumnKind::Stage) return RefuseStageOutside16Bits(q, msg);
        return false;
    }

    // The first row in use whose stage column holds a stage other than 1 to
    // 5: nothing when every row passes.
    std::optional<std::pair<int, int>> FirstBadStage(const grid::GridModel& g, int capacity) const {
        for (int col = 1; col <= static_cast<int>(columns_.size()); ++col) {
            if (At(col).kind != ColumnKind::Stage) continue;
            for (int r = 1; r <= std::min(g.RowsInUse(), capacity); ++r) {
                const std::optional<double> s = g.Value(r, col);
                if (!s || !(*s >= 1 && *s <= kMaxStages)) return std::pair{r, col};
            }
        }
        return std::nullopt;
    }

private:
    std::vector<Column> columns_;
    const char* numberFormat_;
};

// Columns more than one table declares alike: a loading stage (any 16-bit
// number is stored for OK to refuse), and the name and unit weight the
// embankment and cut tables begin with.
template <class Row, i16 Row::*stage>
TableColumn<Row> StageColumn() {
    return {.header = "段階載荷番号", .width = 1200, .kind = ColumnKind::Stage, .format = "#0",
            .get = [](const Row& r) { return double(r.*stage); },
            .set = [](Row& r, double v) { r.*stage = static_cast<i16>(v); }};
}

inline TableColumn<SoilBlock> BlockNameColumn(const char* header) {
    return {.header = header, .width = 2400, .kind = ColumnKind::Text,
            .getText = [](const SoilBlock& b) { return b.Name; },
            .setText = [](SoilBlock& b, std::string v) { b.Name = std::move(v); }};
}

inline TableColumn<SoilBlock> BlockWeightColumn() {
    return {.header = "有効重量  (kN/m3)", .width = 1200, .kind = ColumnKind::Number, .format = "##0.000",
            .item = Item::UnitWeight,
            .get = [](const SoilBlock& b) { return b.UnitWeight; },
            .set = [](SoilBlock& b, double v) { b.UnitWeight = v; }};
}

}  // namespace kova
