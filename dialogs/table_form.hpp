#pragma once
// What the table dialogs share: the common set-up of a grid, and reading
// cells back with the checks every stored value passes (a name the files
// can hold, a finite number within the table of limits, an integer that
// fits its 16-bit field).
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/grid/qex_flg.hpp"
#include "rules/limits.hpp"
#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

// The common grid set-up, up to (not including) the rows: drawing off,
// shape, widths, headers, control width, formats, header row height, style,
// name, initialise, tied-rows switch. The caller fills the rows and turns
// the drawing on.
struct GridLayout {
    int rows = 1;
    int cols = 1;
    int headerCols = 1;
    std::vector<int> widths{};     // twips
    std::vector<QString> headers{};  // row 0
    std::vector<QString> formats{};  // per column; "" free text
    int headerRowHeight = 0;       // twips; 0 keeps the grid's default
    int controlWidth = 0;          // twips
    QString name = QStringLiteral("MORIDO");
    bool tied = false;
};
void SetUpGrid(grid::QEX_FLG& g, const GridLayout& layout);

// The message for a name that a file or a cell cannot hold: the field
// ("業務名称", "「名称」の2行目") and the character it refuses.
std::string BadTextMessage(std::string_view field, std::string_view text);
std::string BadCellTextMessage(const grid::GridModel& g, int row, int col, std::string_view text);

// Reads cells for storing. The first refused cell shows its message; every
// later read then fails at once, so a caller reads a whole table and stores
// nothing when Failed().
class CellReader {
public:
    CellReader(const grid::GridModel& g, MessageSink& msg) : g_(g), msg_(msg) {}
    // A reader of the table right after the user's edit: a refusal puts the
    // edited cell back before its message, so that the screen never shows
    // a refused text while the message is up. Only the edited cell was
    // typed: every other cell holds what the model stores already (a file's
    // value, a new row's 0) and is read within the file range, so that a
    // value the typed range refuses blocks no edit elsewhere in the table
    // (the dialog's OK or the calculation names it).
    static CellReader AfterEdit(grid::GridModel& g, MessageSink& msg) {
        CellReader r(g, msg);
        r.revert_ = &g;
        return r;
    }

    // A number within the item's limits (typed or file, as above).
    std::optional<double> Real(int row, int col, Item item);
    // The integer conversion, within the item's limits.
    std::optional<i16> Int(int row, int col, Item item);
    // The integer conversion, any 16-bit value; `message` when it does not fit.
    std::optional<i16> Int16(int row, int col, const std::string& message, MsgIcon icon = MsgIcon::Exclamation);
    // The cell text, when the files can hold it.
    std::optional<std::string> Name(int row, int col);
    // A drop-down cell's code: its kept code while untouched, else the item
    // chosen; a text that is no item gets the last code.
    i16 Code(int row, int col);

    bool Failed() const { return failed_; }
    void Refuse(const std::string& message, MsgIcon icon = MsgIcon::Exclamation);

private:
    // Within the typed range where the cell was typed, else the file range.
    bool Within(int row, int col, Item item, double v) const;

    const grid::GridModel& g_;
    MessageSink& msg_;
    grid::GridModel* revert_ = nullptr;
    bool failed_ = false;
};

// Checks a typed name at once (the name columns and the title box): false,
// after the message, when it cannot be stored.
bool CheckName(std::string_view field, const std::string& text, MessageSink& msg);
// The same for the cell of the user's last edit: a refused name is put back
// first, then told. True when refused.
bool RefuseEditedName(grid::GridModel& g, MessageSink& msg);

// What Ins on a full table says: "境界点は500点までです。".
std::string FullTableMessage(const char* what, int capacity, const char* unit);

// "#0", "##0.000", ... texts as the tables write them.
QString Fmt(double v, const char* pattern);

// The "No." column of rows 1 to `rows` after an insert or delete: each cell
// that shows another number gets its own.
void RenumberRows(grid::GridModel& g, int rows, const char* pattern);

}  // namespace kova
