#include "viewer/reader/layout.hpp"

#include <algorithm>
#include <map>

#include "textio/cp932.hpp"
#include "viewer/reader/grammar.hpp"

namespace kova::viewer {
namespace {

constexpr double kContentLeft = kMargin;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kTitleCell = 60;
constexpr double kSmallCell = 30;
constexpr double kHeaderRule = kMargin + 90;
constexpr double kContentTop = kHeaderRule + 40;
constexpr double kContentBottom = kPageHeight - kMargin - 40;
constexpr double kGap = 20;
constexpr int kColumnGap = 3;  // half-width columns between table columns

class Pager {
public:
    Pager(const Report& r) : report_(r) { NewPage(); }

    void NewPage() {
        pages_.emplace_back();
        y_ = kContentTop;
        empty_ = true;
        LaidPage& p = pages_.back();
        p.texts.push_back({kContentLeft, kMargin + kTitleCell, kTitleCell, report_.page.title});
        std::string date = DateText(report_.page.dateLine).value_or(report_.page.dateLine);
        const double dateCell = kSmallCell;
        p.texts.push_back({kContentLeft + kContentWidth - Columns(date) * dateCell / 2, kMargin + kTitleCell,
                           dateCell, date});
        p.rules.push_back({kContentLeft, kHeaderRule, kContentLeft + kContentWidth, kHeaderRule});
    }
    // Starts a new page unless this one is still empty.
    void Break() {
        if (!empty_) NewPage();
    }
    double Room() const { return kContentBottom - y_; }
    // Makes room for a height, on a new page when needed.
    void Need(double h) {
        if (h > Room()) Break();
    }
    void Text(double x, double cell, std::string text, bool fault = false) {
        pages_.back().texts.push_back({x, y_ + cell, cell, std::move(text), fault});
        empty_ = false;
    }
    void Down(double h) { y_ += h; }
    void Rule(double x1, double x2) {
        pages_.back().rules.push_back({x1, y_, x2, y_});
    }
    void Place(const std::string& name, const DrawingFile* d);
    double Y() const { return y_; }
    void Finish() {
        const int n = static_cast<int>(pages_.size());
        for (int i = 0; i < n; ++i) {
            std::string foot = report_.page.name + "  " + std::to_string(i + 1) + "/" + std::to_string(n);
            pages_[static_cast<std::size_t>(i)].texts.push_back(
                {kContentLeft + kContentWidth - Columns(foot) * kSmallCell / 2, kPageHeight - kMargin + kSmallCell,
                 kSmallCell, foot});
        }
    }
    std::vector<LaidPage> Take() { return std::move(pages_); }

private:
    const Report& report_;
    std::vector<LaidPage> pages_;
    double y_ = 0;
    bool empty_ = true;
};

void Pager::Place(const std::string& name, const DrawingFile* d) {
    const bool usable = d && d->width > 0 && d->height > 0;
    const double w = usable ? d->width : kAbsentWidth;
    const double h = usable ? d->height : kAbsentHeight;
    const double full = std::min(kContentWidth / w, (kContentBottom - kContentTop) / h);
    double scale = std::min(kContentWidth / w, Room() / h);
    // Shrunk to less than 60 % of what a page of its own gives: a new page.
    if (scale < 0.6 * full && !empty_) {
        NewPage();
        scale = full;
    }
    scale = std::max(scale, 0.0);
    Frame f{kContentLeft + (kContentWidth - w * scale) / 2, y_, w * scale, h * scale};
    pages_.back().drawings.push_back({name, usable ? d : nullptr, f});
    empty_ = false;
    y_ += f.height + kGap;
}

// Cell size that fits a row of `columns` half-width columns into the width.
double CellFor(int columns) {
    return std::min(kFieldCell, kContentWidth * 2 / std::max(columns, 1));
}

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

void FieldList(Pager& pg, const FormBlock& f) {
    const std::vector<Field> fields = ByNumber(f.fields);
    int widest = 0;
    for (const Field& x : fields) widest = std::max(widest, 4 + Columns(x.value));
    const double cell = CellFor(widest);
    for (const Field& x : fields) {
        pg.Need(kLineHeight);
        pg.Text(kContentLeft + cell, cell * 0.8, Number(x.number));
        pg.Text(kContentLeft + cell * 3, cell, x.value);
        pg.Down(kLineHeight);
    }
}

void Table(Pager& pg, const std::string& caption, const std::vector<const FormBlock*>& rows) {
    std::map<int, int> widths;  // field number -> columns
    for (const FormBlock* r : rows)
        for (const Field& x : r->fields) {
            int& w = widths[x.number];
            w = std::max({w, 2, Columns(x.value)});
        }
    int total = 0;
    for (const auto& [n, w] : widths) total += w + kColumnGap;
    const double cell = CellFor(total);
    std::map<int, double> at;
    double x = kContentLeft;
    for (const auto& [n, w] : widths) {
        at[n] = x;
        x += (w + kColumnGap) * cell / 2;
    }
    const double right = std::min(x, kContentLeft + kContentWidth);
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
            pg.Text(at[f.number], cell, f.value);
        }
        pg.Down(kLineHeight);
    }
}

}  // namespace

int Columns(std::string_view utf8) {
    try {
        return static_cast<int>(Cp932Length(utf8));
    } catch (const std::exception&) {
        int n = 0;
        for (unsigned char c : utf8)
            if ((c & 0xC0) != 0x80) n += c < 0x80 ? 1 : 2;
        return n;
    }
}

std::vector<LaidPage> LayOut(const Report& report) {
    Pager pg(report);
    const auto& forms = report.page.forms;
    bool first = true;
    for (std::size_t i = 0; i < forms.size();) {
        const FormBlock& f = forms[i];
        if (f.newPage && !first) pg.Break();
        first = false;
        if (f.reserve > 0) {
            // Room for the table that follows, at most a page.
            const double rows = std::min<double>(f.reserve, (kContentBottom - kContentTop) / kLineHeight);
            pg.Need(rows * kLineHeight);
        }
        // A run of the same form with fields, on one page: rows of a table.
        std::size_t j = i + 1;
        if (!f.form.empty() && f.drawing.empty() && !f.fields.empty())
            while (j < forms.size() && forms[j].form == f.form && !forms[j].newPage && forms[j].drawing.empty() &&
                   forms[j].reserve < 0)
                ++j;
        const bool afterHeading = i > 0 && forms[i - 1].fields.empty() && forms[i - 1].reserve >= 0 &&
                                  forms[i - 1].drawing.empty();
        if (j - i > 1 || (afterHeading && !f.fields.empty() && f.drawing.empty())) {
            std::vector<const FormBlock*> rows;
            for (std::size_t k = i; k < j; ++k) rows.push_back(&forms[k]);
            Table(pg, f.form, rows);
            pg.Down(kGap);
            i = j;
            continue;
        }
        if (!f.form.empty()) {
            pg.Need(kLineHeight * (f.fields.empty() ? 1 : 2));
            pg.Text(kContentLeft, kSmallCell, f.form);
            pg.Down(kLineHeight);
        }
        // Fields after a form line that names only a drawing are shown too.
        FieldList(pg, f);
        if (!f.drawing.empty()) pg.Place(f.drawing, report.Drawing(f.drawing));
        else pg.Down(kGap);
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

void PaintPage(const LaidPage& page, Picture& p) {
    p.SetBackColor(Rgb{255, 255, 255});
    p.SetForeColor(Rgb{0, 0, 0});
    p.SetLineStyle(LineStyle::Solid);
    p.SetLineWidth(1);
    for (const PageRule& r : page.rules) p.Line(r.x1, r.y1, r.x2, r.y2);
    for (const PageText& t : page.texts) {
        p.SetForeColor(t.fault ? Rgb{200, 0, 0} : Rgb{0, 0, 0});
        PlaceText(p, t.x, t.y, t.cell, t.cell, 0, t.text);
    }
    p.SetForeColor(Rgb{0, 0, 0});
    for (const PagePlacement& d : page.drawings) {
        if (d.drawing) DrawDrawing(*d.drawing, p, d.frame);
        else DrawAbsentDrawing(d.name, p, d.frame);
    }
}

}  // namespace kova::viewer
