#include "viewer/reader/layout.hpp"

#include <algorithm>
#include <cmath>
#include <map>

#include "viewer/reader/forms.hpp"
#include "viewer/reader/grammar.hpp"
#include "viewer/reader/own_drawing.hpp"

namespace kova::viewer {
namespace {

// The bytes of the UTF-8 character a lead byte starts (a stray byte is one).
std::size_t CharBytes(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

constexpr double kContentLeft = kMargin;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kContentRight = kContentLeft + kContentWidth;
constexpr double kHeadCell = 40;
constexpr double kSmallCell = 30;
constexpr double kHeadingCell = 42;
constexpr double kHeaderRule = kMargin + 110;
constexpr double kContentTop = kHeaderRule + 50;
constexpr double kFooterRule = kPageHeight - kMargin - 10;
constexpr double kContentBottom = kFooterRule - 30;
constexpr double kGap = 30;
constexpr int kColumnGap = 3;  // half-width columns between table columns

std::string Shortened(const std::string& text, int columns);

// Under a drawing drawn without the records it could not read.
std::string LostRecordMark(const Fault& f) { return "この図は読めない記録を除いて描いています（" + f.Text() + "）"; }

struct Header {
    std::string project, report, position;
};

class Pager {
public:
    Pager(const Report& r, Header h) : report_(r), header_(std::move(h)) { NewPage(); }

    void NewPage() {
        pages_.emplace_back();
        y_ = kContentTop;
        empty_ = true;
        LaidPage& p = pages_.back();
        p.date = FullDate(report_.page.dateLine);
        p.footer = true;
        const double base = kMargin + kHeadCell;
        p.texts.push_back({kContentLeft, base, kHeadCell, header_.project});
        p.texts.push_back({kContentRight - Columns(header_.report) * kHeadCell / 2, base, kHeadCell, header_.report});
        if (!header_.position.empty())
            p.texts.push_back(
                {kContentRight - Columns(header_.position) * kSmallCell / 2, base + 55, kSmallCell, header_.position});
        p.rules.push_back({kContentLeft, kHeaderRule, kContentRight, kHeaderRule});
    }
    // Starts a new page unless this one is still empty.
    void Break() {
        if (!empty_) NewPage();
    }
    double Room() const { return kContentBottom - y_; }
    bool Empty() const { return empty_; }
    // Makes room for a height, on a new page when needed.
    void Need(double h) {
        if (h > Room()) Break();
    }
    void Text(double x, double cell, std::string text, bool fault = false) {
        pages_.back().texts.push_back({x, y_ + cell, cell, std::move(text), fault});
        empty_ = false;
    }
    void Down(double h) { y_ += h; }
    // A part of a table on this page, of a table of `of` rows.
    void StartPart(bool continued, int of) { pages_.back().tables.push_back({0, of, continued}); }
    void CountRow() { ++pages_.back().tables.back().rows; }
    void Rule(double x1, double x2) { pages_.back().rules.push_back({x1, y_, x2, y_}); }
    // Places a drawing, leaving `below` free under it.
    void Place(const std::string& name, const DrawingFile* d, double below = 0);
    // The height a drawing takes at the least (60 % of a page of its own).
    double SmallestDrawing(const DrawingFile* d) const;
    void Finish() {
        const int n = static_cast<int>(pages_.size());
        for (int i = 0; i < n; ++i) {
            pages_[static_cast<std::size_t>(i)].number = i + 1;
            pages_[static_cast<std::size_t>(i)].count = n;
        }
    }
    std::vector<LaidPage> Take() { return std::move(pages_); }

private:
    const Report& report_;
    Header header_;
    std::vector<LaidPage> pages_;
    double y_ = 0;
    bool empty_ = true;
};

double Pager::SmallestDrawing(const DrawingFile* d) const {
    const bool usable = d && d->width > 0 && d->height > 0;
    const Extent e = usable ? ExtentOf(*d) : Extent{0, 0, kAbsentWidth, kAbsentHeight};
    const double w = e.x2 - e.x1, h = e.y2 - e.y1;
    return 0.6 * h * std::min(kContentWidth / w, (kContentBottom - kContentTop) / h) +
           (usable && d->fault ? kLineHeight : 0);
}

void Pager::Place(const std::string& name, const DrawingFile* d, double below) {
    const bool usable = d && d->width > 0 && d->height > 0;
    const Extent e = usable ? ExtentOf(*d) : Extent{0, 0, kAbsentWidth, kAbsentHeight};
    const double w = e.x2 - e.x1, h = e.y2 - e.y1;
    // Room for the mark of a lost record under the drawing.
    if (usable && d->fault) below += kLineHeight;
    const double full = std::min(kContentWidth / w, (kContentBottom - kContentTop - below) / h);
    double scale = std::min(kContentWidth / w, (Room() - below) / h);
    // Shrunk to less than 60 % of what a page of its own gives: a new page.
    if (scale < 0.6 * full && !empty_) {
        NewPage();
        scale = full;
    }
    scale = std::max(scale, 0.0);
    // The slot takes the drawing's extent, centred; the frame is where the
    // whole drawing would lie, so that its units keep their scale.
    const double slotX = kContentLeft + (kContentWidth - w * scale) / 2;
    PagePlacement pl{name, usable ? d : nullptr, {}, {}, {}};
    if (d && !usable) {
        pl.unreadable = d->fault ? d->fault->what : "大きさの行が読めません";
        if (d->fault && d->fault->line > 0) pl.unreadable = std::to_string(d->fault->line) + "行目: " + pl.unreadable;
    }
    pl.frame = {slotX - e.x1 * scale, y_ - e.y1 * scale, (usable ? d->width : w) * scale,
                (usable ? d->height : h) * scale};
    pl.clip = {slotX, y_, w * scale, h * scale};
    pages_.back().drawings.push_back(pl);
    empty_ = false;
    y_ += h * scale;
    // A drawing drawn without a record it could not read says so under it,
    // not only in the fault list at the report's end.
    if (usable && d->fault) {
        Text(kContentLeft, kSmallCell, LostRecordMark(*d->fault), true);
        y_ += kLineHeight;
    }
    y_ += kGap;
}

// Cell size that fits a row of `columns` half-width columns into the width.
double CellFor(double columns) { return std::min(kFieldCell, kContentWidth * 2 / std::max(columns, 1.0)); }

std::string Number(int n) {
    std::string s = "00";
    s[0] = static_cast<char>('0' + n / 10);
    s[1] = static_cast<char>('0' + n % 10);
    return s;
}

// Fields in the order of their numbers (the file's order among equals).
std::vector<Field> ByNumber(const std::vector<Field>& fields) {
    std::vector<Field> f = fields;
    std::stable_sort(f.begin(), f.end(), [](const Field& a, const Field& b) { return a.number < b.number; });
    return f;
}

// The first value of a field number in a form, if any.
const std::string* FieldValue(const FormBlock& f, int number) {
    for (const Field& x : f.fields)
        if (x.number == number) return &x.value;
    return nullptr;
}

std::string Trim(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    return std::string(s.substr(a, s.find_last_not_of(' ') - a + 1));
}

// ---- Forms without a layout: their fields plainly. ----

void FieldList(Pager& pg, const FormBlock& f) {
    const std::vector<Field> fields = ByNumber(f.fields);
    int widest = 0;
    for (const Field& x : fields) widest = std::max(widest, 4 + Columns(ShownText(x.value)));
    const double cell = CellFor(widest);
    for (const Field& x : fields) {
        pg.Need(kLineHeight);
        pg.Text(kContentLeft + cell, cell * 0.8, Number(x.number));
        pg.Text(kContentLeft + cell * 3, cell, ShownText(x.value));
        pg.Down(kLineHeight);
    }
}

void PlainTable(Pager& pg, const std::string& caption, const std::vector<const FormBlock*>& rows) {
    std::map<int, int> widths;  // field number -> columns
    for (const FormBlock* r : rows)
        for (const Field& x : r->fields) {
            int& w = widths[x.number];
            w = std::max({w, 2, Columns(ShownText(x.value))});
        }
    double total = 0;
    for (const auto& [n, w] : widths) total += w + kColumnGap;
    const double cell = CellFor(total);
    std::map<int, double> at;
    double x = kContentLeft;
    for (const auto& [n, w] : widths) {
        at[n] = x;
        x += (w + kColumnGap) * cell / 2;
    }
    const double right = std::min(x, kContentRight);
    auto heading = [&](bool continued) {
        pg.Text(kContentLeft, kSmallCell, continued ? caption + "（続き）" : caption);
        pg.Down(kLineHeight);
        for (const auto& [n, w] : widths) pg.Text(at[n], cell * 0.8, Number(n));
        pg.Down(kLineHeight * 0.8);
        pg.Rule(kContentLeft, right);
        pg.Down(kLineHeight * 0.2);
    };
    pg.Need(kLineHeight * 3);
    heading(false);
    for (const FormBlock* r : rows) {
        if (pg.Room() < kLineHeight) {
            pg.Break();
            heading(true);
        }
        // The first value of each number, as a form has one place per number.
        std::map<int, bool> done;
        for (const Field& f : r->fields) {
            if (done[f.number]) continue;
            done[f.number] = true;
            pg.Text(at[f.number], cell, ShownText(f.value));
        }
        pg.Down(kLineHeight);
    }
}

// ---- Forms with a layout. ----

// A table ready to set: column captions (a caption of two words takes two
// lines), units, rows of cells; rows in groups that stay together.
struct Grid {
    struct Column {
        std::vector<std::string> caption;  // one or two lines
        std::string unit;
        int width = 0;  // half-width columns
        double x = 0, right = 0;
    };
    struct Row {
        std::vector<std::string> cells;  // one per column
        bool ruleAbove = false;
        bool startsGroup = true;
    };
    std::string title;
    std::vector<Column> columns;
    std::vector<Row> rows;
    std::vector<std::string> notes;  // lines under the table
    std::size_t totals = 0;          // the last rows that are totals
    double cell = kFieldCell;
    int CaptionLines() const {
        int n = 1;
        for (const Column& c : columns) n = std::max(n, static_cast<int>(c.caption.size()));
        return n;
    }
    bool HasUnits() const {
        return std::any_of(columns.begin(), columns.end(), [](const Column& c) { return !c.unit.empty(); });
    }
};

std::vector<std::string> SplitCaption(std::string_view caption) {
    const std::size_t sp = caption.rfind(' ');
    if (sp == std::string_view::npos) return {std::string(caption)};
    return {std::string(caption.substr(0, sp)), std::string(caption.substr(sp + 1))};
}

Grid::Column GridColumn(const FormColumn& c) {
    Grid::Column g;
    g.caption = SplitCaption(c.caption);
    if (!c.unit.empty()) g.unit = "(" + c.unit + ")";
    return g;
}

// Widths, cell size and positions: the columns spread over the width.
void Measure(Grid& g) {
    for (Grid::Column& c : g.columns) {
        c.width = std::max(c.width, Columns(c.unit));
        for (const std::string& s : c.caption) c.width = std::max(c.width, Columns(s));
    }
    for (const Grid::Row& r : g.rows)
        for (std::size_t i = 0; i < r.cells.size() && i < g.columns.size(); ++i)
            g.columns[i].width = std::max(g.columns[i].width, Columns(r.cells[i]));
    double total = 0;
    for (const Grid::Column& c : g.columns) total += c.width + kColumnGap;
    // A table wider than the page at its smallest cell narrows its widest
    // columns down to their captions; their longer cells are shortened.
    const double room = kContentWidth * 2 / kMinTableCell;
    while (total > room) {
        Grid::Column* widest = nullptr;
        for (Grid::Column& c : g.columns) {
            int least = Columns(c.unit);
            for (const std::string& s : c.caption) least = std::max(least, Columns(s));
            if (c.width > std::max(least, 8) && (!widest || c.width > widest->width)) widest = &c;
        }
        if (!widest) break;
        --widest->width;
        --total;
    }
    g.cell = std::max(kMinTableCell, std::min(kFieldCell, kContentWidth * 2 / std::max(total, 1.0)));
    // What is left over widens every gap alike, up to a gap of a full cell.
    const double used = total * g.cell / 2;
    const double spare = std::max(0.0, kContentWidth - used);
    const double extra = std::min(g.cell * 2, spare / std::max<std::size_t>(g.columns.size(), 1));
    double x = kContentLeft;
    for (Grid::Column& c : g.columns) {
        c.x = x;
        x += (c.width + kColumnGap) * g.cell / 2 + extra;
        c.right = x - kColumnGap * g.cell / 4 - extra / 2;
    }
}

double RowHeight(const Grid& g) { return std::max(kLineHeight, g.cell * 1.4); }

double HeaderHeight(const Grid& g) {
    return kLineHeight * 1.2 + (g.CaptionLines() + (g.HasUnits() ? 1 : 0)) * g.cell * 1.2 + kLineHeight * 0.3;
}

double NotesHeight(const Grid& g) {
    return static_cast<double>(g.notes.size()) * kLineHeight + (g.notes.empty() ? 0 : 10);
}

// The rows of a table that are data, not totals: a total is a one-row group
// under a rule at the table's end.
std::size_t DataRows(const Grid& g) { return g.rows.size() - std::min(g.totals, g.rows.size()); }

// Where the parts of a table begin (row indices; 0 when the table starts on
// a new page), given the room left on the page. A long table is split so
// that every part keeps a fair share of its groups of rows, at least a
// quarter: no page carries a lone row under a heading, nor a total with one
// row above it. The totals and notes stay with the last rows.
std::vector<std::size_t> PartStarts(const Grid& g, double room, bool pageEmpty) {
    const double rowH = RowHeight(g);
    const double full = kContentBottom - kContentTop - HeaderHeight(g);
    // Groups of rows: their first row and height; the totals and the notes
    // go with the last group.
    const std::size_t data = DataRows(g);
    std::vector<std::size_t> start;
    std::vector<double> height;
    for (std::size_t i = 0; i < data; ++i) {
        if (g.rows[i].startsGroup || start.empty()) {
            start.push_back(i);
            height.push_back(0);
        }
        height.back() += rowH;
    }
    const double tail = static_cast<double>(g.rows.size() - data) * rowH + 8 + NotesHeight(g) + 20;
    if (height.empty()) {
        if (HeaderHeight(g) + tail > room && !pageEmpty) return {0};
        return {};
    }
    height.back() += tail;
    const std::size_t n = height.size();
    const std::size_t least = std::max<std::size_t>(1, (n + 3) / 4);
    // Parts filled greedily from a first room, as counts of groups.
    auto fill = [&](double first) {
        std::vector<std::size_t> parts(1, 0);
        double left = first;
        for (std::size_t k = 0; k < n; ++k) {
            if (height[k] > left && parts.back() > 0) {
                parts.push_back(0);
                left = full;
            }
            ++parts.back();
            left -= height[k];
        }
        return parts;
    };
    double sum = 0;
    for (double h : height) sum += h;
    const double firstRoom = room - HeaderHeight(g);
    bool fresh = pageEmpty;
    std::vector<std::size_t> parts = fill(fresh ? full : firstRoom);
    // A short table, or a first part too small to stand alone (or not even
    // its first rows fitting): the whole table, or its first fair share,
    // starts on a new page.
    if (!fresh &&
        (parts.front() < least || height.front() > firstRoom || (n <= 3 && parts.size() > 1 && sum <= full))) {
        fresh = true;
        parts = fill(full);
    }
    // The last part takes groups from the one before until it holds its
    // share, as long as both keep theirs and the last still fits a page.
    if (parts.size() > 1) {
        std::size_t& last = parts.back();
        std::size_t& before = parts[parts.size() - 2];
        double lastH = 0;
        for (std::size_t k = n - last; k < n; ++k) lastH += height[k];
        while (last < least && before > least && lastH + height[n - last - 1] <= full) {
            lastH += height[n - last - 1];
            ++last;
            --before;
        }
    }
    std::vector<std::size_t> out;
    if (fresh && !pageEmpty) out.push_back(0);
    std::size_t k = 0;
    for (std::size_t p = 0; p + 1 < parts.size(); ++p) {
        k += parts[p];
        out.push_back(start[k]);
    }
    return out;
}

void SetGrid(Pager& pg, const Grid& g) {
    const double left = kContentLeft;
    const double right = g.columns.empty() ? kContentRight : g.columns.back().right + g.cell / 2;
    const double rowH = RowHeight(g);
    auto centred = [&](const Grid::Column& c, const std::string& s, double cell) {
        const double mid = (c.x + c.right) / 2;
        pg.Text(mid - Columns(s) * cell / 4, cell, s);
    };
    auto heading = [&](bool continued) {
        pg.Text(left, kHeadingCell * 0.8, continued ? g.title + "（続き）" : g.title);
        pg.Down(kLineHeight * 1.2);
        pg.Rule(left, right);
        pg.Down(g.cell * 0.2);
        const int lines = g.CaptionLines();
        for (int l = 0; l < lines; ++l) {
            for (const Grid::Column& c : g.columns) {
                // A one-line caption stands on the lower line.
                const int first = lines - static_cast<int>(c.caption.size());
                if (l >= first) centred(c, c.caption[static_cast<std::size_t>(l - first)], g.cell);
            }
            pg.Down(g.cell * 1.2);
        }
        if (g.HasUnits()) {
            for (const Grid::Column& c : g.columns)
                if (!c.unit.empty()) centred(c, c.unit, g.cell * 0.9);
            pg.Down(g.cell * 1.2);
        }
        pg.Down(kLineHeight * 0.1);
        pg.Rule(left, right);
        pg.Down(kLineHeight * 0.2);
    };
    const std::vector<std::size_t> breaks = PartStarts(g, pg.Room(), pg.Empty());
    if (!breaks.empty() && breaks.front() == 0) pg.Break();
    heading(false);
    const std::size_t data = DataRows(g);
    int groups = 0;
    for (std::size_t i = 0; i < data; ++i) groups += g.rows[i].startsGroup || i == 0 ? 1 : 0;
    pg.StartPart(false, groups);
    for (std::size_t i = 0; i < g.rows.size(); ++i) {
        const Grid::Row& r = g.rows[i];
        if (i > 0 && std::find(breaks.begin(), breaks.end(), i) != breaks.end()) {
            pg.NewPage();
            heading(true);
            pg.StartPart(true, groups);
        }
        if (i < data && (r.startsGroup || i == 0)) pg.CountRow();
        if (r.ruleAbove) {
            pg.Down(4);
            pg.Rule(left, right);
            pg.Down(4);
        }
        for (std::size_t c = 0; c < r.cells.size() && c < g.columns.size(); ++c) {
            const std::string s = Shortened(r.cells[c], g.columns[c].width);
            if (s.empty()) continue;
            pg.Text(g.columns[c].right - Columns(s) * g.cell / 2, g.cell, s);
        }
        pg.Down(rowH);
    }
    pg.Down(4);
    pg.Rule(left, right);
    pg.Down(10);
    for (const std::string& n : g.notes) {
        pg.Text(left, kSmallCell, n);
        pg.Down(kLineHeight);
    }
}

// A table of rows of one row form, with its total and notes.
Grid RowTable(const std::string& title, const std::vector<FormColumn>& columns,
              const std::vector<const FormBlock*>& rows, const std::vector<const FormBlock*>& tail) {
    Grid g;
    g.title = title;
    std::vector<int> fields;
    for (const FormColumn& c : columns) {
        g.columns.push_back(GridColumn(c));
        fields.push_back(c.field);
    }
    // A field the layout does not name still shows, in a column of its own.
    for (const FormBlock* r : rows)
        for (const Field& f : r->fields)
            if (std::find(fields.begin(), fields.end(), f.number) == fields.end()) {
                fields.push_back(f.number);
                g.columns.emplace_back();
            }
    for (const FormBlock* r : rows) {
        Grid::Row row;
        for (int f : fields) {
            const std::string* v = FieldValue(*r, f);
            row.cells.push_back(v ? ShownText(*v) : std::string());
        }
        g.rows.push_back(std::move(row));
    }
    for (const FormBlock* t : tail) {
        const FormLayout* l = FindForm(t->form);
        if (l->role == FormRole::Note) {
            for (const Field& f : ByNumber(t->fields))
                g.notes.push_back(std::string(l->words) + ShownText(Trim(f.value)));
            continue;
        }
        Grid::Row row;
        row.cells.assign(fields.size(), std::string());
        row.ruleAbove = true;
        if (!row.cells.empty()) row.cells[0] = std::string(l->words);
        for (const Field& f : t->fields) {
            int under = -1;
            for (const FormColumn& c : l->columns)
                if (c.field == f.number) under = c.under;
            auto it = std::find(fields.begin(), fields.end(), under);
            if (it == fields.end()) {
                // A total without its column goes under a column of its own.
                fields.push_back(-100 - f.number);
                g.columns.emplace_back();
                for (Grid::Row& r : g.rows) r.cells.emplace_back();
                row.cells.emplace_back();
                it = fields.end() - 1;
            }
            std::string& cell = row.cells[static_cast<std::size_t>(it - fields.begin())];
            if (cell.empty() || cell == l->words) cell = ShownText(f.value);
        }
        g.rows.push_back(std::move(row));
        ++g.totals;
    }
    Measure(g);
    return g;
}

// The time table: for each unit a row of days and a row of settlements by
// degree of consolidation, the final settlement apart.
Grid TimeTable(const std::string& title, const std::vector<const FormBlock*>& rows) {
    Grid g;
    g.title = title;
    g.columns.push_back({{"基準層"}, "", 0, 0, 0});
    g.columns.push_back({{"圧密度 U"}, "", 0, 0, 0});
    for (int k = 0; k < kTimeDegrees; ++k) g.columns.push_back({{std::to_string(10 * (k + 1)) + "%"}, "", 0, 0, 0});
    g.columns.push_back({{"最終", "沈下量"}, "(m)", 0, 0, 0});
    bool marked = false, missed = false;
    for (const FormBlock* r : rows) {
        auto value = [&](int n) {
            const std::string* v = FieldValue(*r, n);
            return v ? ShownText(*v) : std::string();
        };
        Grid::Row days, settle;
        days.cells.push_back(value(kTimeLayerField));
        days.cells.push_back("日数(日)");
        settle.cells.push_back("");
        settle.cells.push_back("沈下量(m)");
        for (int k = 0; k < kTimeDegrees; ++k) {
            days.cells.push_back(value(k));
            settle.cells.push_back(value(kTimeSettlementBase + k));
            if (days.cells.back().find("※") != std::string::npos) marked = true;
            if (days.cells.back().find("未達") != std::string::npos) missed = true;
        }
        days.cells.push_back("");
        settle.cells.push_back(value(kTimeFinalField));
        days.ruleAbove = !g.rows.empty();
        settle.startsGroup = false;
        g.rows.push_back(std::move(days));
        g.rows.push_back(std::move(settle));
    }
    if (marked) g.notes.push_back("※ 載荷の途中に達する日数");
    if (missed) g.notes.push_back("未達 計算期間の内に達しない圧密度");
    Measure(g);
    return g;
}

// A heading's words and the fields that follow them on its line.
std::string HeadingText(const FormLayout& l, const FormBlock& f) {
    std::string s(l.words);
    for (const Field& x : ByNumber(f.fields)) {
        const std::string v = Trim(ShownText(x.value));
        if (!v.empty()) s += (s.empty() ? "" : "　") + v;
    }
    return s;
}

// A text in lines of at most `columns` half-width columns, cut between
// characters (a title is mostly full-width, without spaces to break at).
std::vector<std::string> Wrapped(const std::string& text, int columns) {
    std::vector<std::string> lines(1);
    int used = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = CharBytes(static_cast<unsigned char>(text[i]));
        const std::string ch = text.substr(i, len);
        const int w = Columns(ch);
        if (used + w > columns && used > 0) {
            lines.emplace_back();
            used = 0;
        }
        lines.back() += ch;
        used += w;
        i += len;
    }
    return lines;
}

// The lines of a title block: each caption with its value, a value longer
// than the room right of the captions wrapped onto lines of its own.
struct TitleLine {
    std::string caption, value;
};
// Where the values stand: right of the widest caption.
double TitleValueX(const std::vector<TitleLine>& lines) {
    int widest = 0;
    for (const TitleLine& l : lines) widest = std::max(widest, Columns(l.caption));
    return kContentLeft + kFieldCell + (widest + 4) * kFieldCell / 2;
}
std::vector<TitleLine> TitleLines(const FormLayout& l, const FormBlock& f) {
    std::vector<TitleLine> values;
    for (const FormColumn& c : l.columns)
        if (const std::string* v = FieldValue(f, c.field)) {
            std::string value = Trim(ShownText(*v));
            if (!c.unit.empty()) value += " " + c.unit;
            values.push_back({c.caption, value});
        }
    for (const Field& x : ByNumber(f.fields))
        if (std::none_of(l.columns.begin(), l.columns.end(), [&](const FormColumn& c) { return c.field == x.number; }))
            values.push_back({std::string(), Trim(ShownText(x.value))});
    const int room = static_cast<int>((kContentRight - TitleValueX(values)) / (kFieldCell / 2));
    std::vector<TitleLine> lines;
    for (const TitleLine& v : values) {
        const std::vector<std::string> parts = Wrapped(v.value, std::max(room, 8));
        for (std::size_t k = 0; k < parts.size(); ++k) lines.push_back({k == 0 ? v.caption : std::string(), parts[k]});
    }
    return lines;
}

void TitleBlock(Pager& pg, const FormLayout& l, const FormBlock& f) {
    const std::vector<TitleLine> lines = TitleLines(l, f);
    const double valueX = TitleValueX(lines);
    pg.Need(kLineHeight * 1.4 + static_cast<double>(lines.size()) * kLineHeight);
    if (!l.words.empty()) {
        pg.Text(kContentLeft, kHeadingCell, std::string(l.words));
        pg.Down(kLineHeight * 1.4);
    }
    for (const TitleLine& line : lines) {
        pg.Need(kLineHeight);
        if (!line.caption.empty()) pg.Text(kContentLeft + kFieldCell, kFieldCell, line.caption);
        pg.Text(valueX, kFieldCell, line.value);
        pg.Down(kLineHeight);
    }
    pg.Down(kGap);
}

Header HeaderOf(const Report& report, const std::string& projectTitle) {
    Header h;
    h.project = projectTitle;
    h.report = report.page.title;
    std::string name, x;
    for (const FormBlock& f : report.page.forms) {
        const FormLayout* l = FindForm(f.form);
        if (!l || l->role != FormRole::Title) continue;
        for (const FormColumn& c : l->columns) {
            const std::string* v = FieldValue(f, c.field);
            if (!v) continue;
            if (c.header == HeaderRole::Project && h.project.empty()) h.project = Trim(*v);
            if (c.header == HeaderRole::Position && name.empty()) name = Trim(*v);
            if (c.header == HeaderRole::PositionX && x.empty()) x = Trim(*v);
        }
    }
    if (!name.empty()) h.position = name;
    if (!x.empty()) h.position += (h.position.empty() ? "" : "　") + std::string("X = ") + x + " m";
    return h;
}

// A text cut to at most `columns` half-width columns, "…" (two columns) in
// place of what is cut; whole when it fits.
std::string Shortened(const std::string& text, int columns) {
    if (Columns(text) <= columns) return text;
    std::string out;
    int used = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = CharBytes(static_cast<unsigned char>(text[i]));
        const std::string ch = text.substr(i, len);
        const int w = Columns(ch);
        if (used + w + 2 > columns) break;
        out += ch;
        used += w;
        i += len;
    }
    return out + "…";
}

// The header with the project shortened to the room the report's name
// leaves it on the header line.
Header Fitted(Header h) {
    const double room = kContentWidth - Columns(h.report) * kHeadCell / 2 - 2 * kHeadCell;
    h.project = Shortened(h.project, std::max(0, static_cast<int>(room / (kHeadCell / 2))));
    return h;
}

bool IsRole(const FormBlock& f, FormRole role) {
    const FormLayout* l = FindForm(f.form);
    return l && l->role == role && f.drawing.empty();
}

}  // namespace

int Columns(std::string_view utf8) {
    // Half-width: ASCII, half-width katakana (one byte in code page 932),
    // and the Latin-1 and superscript characters set as narrow ones.
    int n = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int len = static_cast<int>(CharBytes(c));
        unsigned cp = c;
        if (len > 1 && i + static_cast<std::size_t>(len) <= utf8.size()) {
            cp = c & (0x7F >> len);
            for (int k = 1; k < len; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        const bool narrow = cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) ||
                            (cp >= 0xA0 && cp <= 0xFF && cp != 0xA7 && cp != 0xA8 && cp != 0xB0 && cp != 0xB1 &&
                             cp != 0xB4 && cp != 0xB6 && cp != 0xD7 && cp != 0xF7) ||
                            (cp >= 0x2070 && cp <= 0x209F);
        n += narrow ? 1 : 2;
        i += static_cast<std::size_t>(len);
    }
    return n;
}

std::string FullDate(std::string_view dateLine) {
    const auto d = DateText(dateLine);
    if (!d) return std::string(dateLine);
    // "yy/mm/dd hh:mm:ss"
    const int yy = std::stoi(d->substr(0, 2));
    const int year = yy < 80 ? 2000 + yy : 1900 + yy;
    return std::to_string(year) + "年" + std::to_string(std::stoi(d->substr(3, 2))) + "月" +
           std::to_string(std::stoi(d->substr(6, 2))) + "日 " + d->substr(9, 5);
}

std::string ProjectTitleOf(const Report& conditions) { return HeaderOf(conditions, {}).project; }

std::vector<LaidPage> LayOut(const Report& report, const std::string& projectTitle) {
    Pager pg(report, Fitted(HeaderOf(report, projectTitle)));
    const auto& forms = report.page.forms;
    bool first = true;
    std::string lastHeading;
    for (std::size_t i = 0; i < forms.size();) {
        const FormBlock& f = forms[i];
        if (f.newPage && !first) pg.Break();
        first = false;
        if (f.reserve > 0) {
            // Room for the table that follows, at most a page.
            const double rows = std::min<double>(f.reserve, (kContentBottom - kContentTop) / kLineHeight);
            pg.Need(rows * kLineHeight);
        }
        const FormLayout* l = FindForm(f.form);
        if (l && f.drawing.empty()) {
            if (l->role == FormRole::Row || l->role == FormRole::TimeRow) {
                std::size_t j = i + 1;
                while (j < forms.size() && forms[j].form == f.form && !forms[j].newPage && forms[j].drawing.empty() &&
                       forms[j].reserve < 0)
                    ++j;
                std::vector<const FormBlock*> rows, tail;
                for (std::size_t k = i; k < j; ++k) rows.push_back(&forms[k]);
                while (j < forms.size() && !forms[j].newPage && forms[j].reserve < 0 &&
                       (IsRole(forms[j], FormRole::Total) || IsRole(forms[j], FormRole::Note)))
                    tail.push_back(&forms[j++]);
                // The columns a heading gives for the rows under it, else the row form's own.
                const FormLayout* head = i > 0 ? FindForm(forms[i - 1].form) : nullptr;
                const auto& columns =
                    head && head->role == FormRole::Heading && !head->columns.empty() ? head->columns : l->columns;
                const std::string title = lastHeading.empty() ? std::string(l->words) : lastHeading;
                if (l->role == FormRole::TimeRow) SetGrid(pg, TimeTable(title, rows));
                else SetGrid(pg, RowTable(title, columns, rows, tail));
                pg.Down(kGap);
                lastHeading.clear();
                i = j;
                continue;
            }
            if (l->role == FormRole::Heading) {
                // A heading followed by a table becomes the table's heading.
                const std::string text = HeadingText(*l, f);
                const bool table = i + 1 < forms.size() && !forms[i + 1].newPage && forms[i + 1].drawing.empty() &&
                                   (IsRole(forms[i + 1], FormRole::Row) || IsRole(forms[i + 1], FormRole::TimeRow));
                if (table) {
                    lastHeading = text;
                } else {
                    pg.Need(kLineHeight * 4);
                    pg.Text(kContentLeft, kHeadingCell, text);
                    pg.Down(kLineHeight * 1.4);
                    lastHeading.clear();
                }
                ++i;
                continue;
            }
            if (l->role == FormRole::Statement) {
                const std::vector<Field> lines = ByNumber(f.fields);
                pg.Need(kLineHeight * (1.4 + static_cast<double>(std::min<std::size_t>(lines.size(), 3))));
                pg.Text(kContentLeft, kHeadingCell, std::string(l->words));
                pg.Down(kLineHeight * 1.4);
                for (const Field& x : lines) {
                    pg.Need(kLineHeight);
                    pg.Text(kContentLeft + kFieldCell, kFieldCell, Trim(ShownText(x.value)));
                    pg.Down(kLineHeight);
                }
                pg.Down(kGap);
                ++i;
                continue;
            }
            if (l->role == FormRole::Title) {
                TitleBlock(pg, *l, f);
                ++i;
                continue;
            }
            if (l->role == FormRole::End && f.fields.empty()) {
                ++i;
                continue;
            }
            // A total or note without its table: as a table of its own.
            if (l->role == FormRole::Total || l->role == FormRole::Note) {
                SetGrid(pg, RowTable(lastHeading, {}, {}, {&f}));
                pg.Down(kGap);
                ++i;
                continue;
            }
        }
        if (l && !f.drawing.empty()) {
            // A form with a drawing: its heading, the drawing and (for a
            // title block) its values under it, on one page.
            const DrawingFile* d = report.Drawing(f.drawing);
            if (!d && f.drawing == kViewerOwnDrawing) d = &OwnTimeDiagram();
            const bool title = l->role == FormRole::Title;
            const double head = l->words.empty() ? 0 : kLineHeight * 1.4;
            const double below =
                title ? (static_cast<double>(TitleLines(*l, f).size()) + 1.5) * kLineHeight + kGap : 0;
            pg.Need(head + pg.SmallestDrawing(d) + below);
            if (!l->words.empty()) {
                pg.Text(kContentLeft, kHeadingCell, title ? std::string(l->words) : HeadingText(*l, f));
                pg.Down(kLineHeight * 1.4);
            }
            pg.Place(f.drawing, d, below);
            if (title) {
                FormLayout values = *l;
                values.words = {};
                TitleBlock(pg, values, f);
            } else {
                FieldList(pg, f);
            }
            ++i;
            continue;
        }
        // A form without a layout: a run of it is a table, else its fields.
        std::size_t j = i + 1;
        if (!l && !f.form.empty() && f.drawing.empty() && !f.fields.empty())
            while (j < forms.size() && forms[j].form == f.form && !forms[j].newPage && forms[j].drawing.empty() &&
                   forms[j].reserve < 0)
                ++j;
        const bool afterHeading =
            i > 0 && forms[i - 1].fields.empty() && forms[i - 1].reserve >= 0 && forms[i - 1].drawing.empty();
        if (!l && (j - i > 1 || (afterHeading && !f.fields.empty() && f.drawing.empty()))) {
            std::vector<const FormBlock*> rows;
            for (std::size_t k = i; k < j; ++k) rows.push_back(&forms[k]);
            PlainTable(pg, f.form, rows);
            pg.Down(kGap);
            i = j;
            continue;
        }
        if (!l && !f.form.empty()) {
            pg.Need(kLineHeight * (f.fields.empty() ? 1 : 2));
            pg.Text(kContentLeft, kSmallCell, f.form);
            pg.Down(kLineHeight);
        }
        // Fields after a form line that names only a drawing are shown too.
        FieldList(pg, f);
        if (!f.drawing.empty()) {
            const DrawingFile* d = report.Drawing(f.drawing);
            if (!d && f.drawing == kViewerOwnDrawing) d = &OwnTimeDiagram();
            pg.Place(f.drawing, d);
        } else {
            pg.Down(kGap);
        }
        ++i;
    }
    for (const Fault& fault : report.Faults()) {
        pg.Need(kLineHeight);
        pg.Text(kContentLeft, kSmallCell, "読み込みの誤り: " + fault.Text(), true);
        pg.Down(kLineHeight);
    }
    pg.Finish();
    return pg.Take();
}

std::vector<PageText> FooterOf(const LaidPage& page, SetPlace place) {
    std::vector<PageText> out;
    const double base = kPageHeight - kMargin + kSmallCell + 10;
    out.push_back({kContentLeft, base, kSmallCell, "作成 " + page.date});
    const std::string own = std::to_string(page.number) + " / " + std::to_string(page.count) + " 頁";
    out.push_back({kPageWidth / 2 - Columns(own) * kSmallCell / 4, base, kSmallCell, own});
    if (place.pages > 0) {
        const std::string all = "通し " + std::to_string(place.page) + " / " + std::to_string(place.pages);
        out.push_back({kContentRight - Columns(all) * kSmallCell / 2, base, kSmallCell, all});
    }
    return out;
}

void PaintPage(const LaidPage& page, Picture& p, SetPlace place) {
    p.SetBackColor(Rgb{255, 255, 255});
    p.SetForeColor(Rgb{0, 0, 0});
    p.SetLineStyle(LineStyle::Solid);
    p.SetLineWidth(1);
    for (const PageRule& r : page.rules) p.Line(r.x1, r.y1, r.x2, r.y2);
    if (page.footer) p.Line(kContentLeft, kFooterRule, kContentRight, kFooterRule);
    // The colour changes only where a fault is shown: a PDF then keeps one
    // pen for the page instead of one per text.
    bool red = false;
    for (const PageText& t : page.texts) {
        if (t.fault != red) p.SetForeColor(t.fault ? Rgb{200, 0, 0} : Rgb{0, 0, 0});
        red = t.fault;
        PlaceText(p, t.x, t.y, t.cell, t.cell, 0, t.text);
    }
    if (red) p.SetForeColor(Rgb{0, 0, 0});
    if (page.footer)
        for (const PageText& t : FooterOf(page, place)) PlaceText(p, t.x, t.y, t.cell, t.cell, 0, t.text);
    for (const PagePlacement& d : page.drawings) {
        // A placement without a slot of its own is clipped to its frame.
        const Frame& clip = d.clip.width > 0 && d.clip.height > 0 ? d.clip : d.frame;
        if (d.drawing) DrawDrawing(*d.drawing, p, d.frame, clip);
        else DrawAbsentDrawing(d.name, p, clip, d.unreadable);
    }
}

}  // namespace kova::viewer
