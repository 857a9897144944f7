#pragma once
// Page layout of a report: on every page a header (the project, the report,
// the position) and a footer (the date, the page of the report and of the
// printed set); each form as its layout in forms.hpp says (headings, tables
// with captions and units, totals under their columns, time tables by
// degree of consolidation); a form without a layout as its fields plainly,
// a run of it as one table; drawings to scale in their slots. Units are
// tenths of a millimetre on an A4 sheet, y downwards.
#include <string>
#include <vector>

#include "platform/picture.hpp"
#include "viewer/reader/draw.hpp"
#include "viewer/reader/report_set.hpp"

namespace kova::viewer {

inline constexpr double kPageWidth = 2100;
inline constexpr double kPageHeight = 2970;
inline constexpr double kMargin = 150;
inline constexpr double kFieldCell = 36;   // a full-width character of a field
inline constexpr double kLineHeight = 50;  // a line of fields
// The frame of a drawing that is named but absent (proportions of the time
// graph).
inline constexpr int kAbsentWidth = 4200, kAbsentHeight = 2700;

struct PageText {
    double x = 0, y = 0;  // lower-left corner
    double cell = kFieldCell;
    std::string text;
    bool fault = false;  // a reading fault, shown apart
};

struct PageRule {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct PagePlacement {
    std::string name;
    const DrawingFile* drawing = nullptr;  // nullptr: named but absent
    Frame frame;                           // where the drawing's whole frame lies, to scale
    Frame clip = {};                       // its slot: the extent of what it draws
    std::string unreadable = {};           // absent: why a drawing that is there cannot be drawn
};

// The part of a table a page holds: its rows (a time table's units), of how
// many the table has, and whether it continues from an earlier page.
struct TablePart {
    int rows = 0, of = 0;
    bool continued = false;
};

struct LaidPage {
    std::vector<PageText> texts;
    std::vector<PageRule> rules;
    std::vector<PagePlacement> drawings;
    std::vector<TablePart> tables;
    int number = 1, count = 1;  // page of its report
    std::string date;           // written in full, for the footer
    bool footer = false;        // a page of a report: header rule and footer
};

// Where a page stands in the set being printed (1-based); 0: the page is
// shown alone and its footer counts only its report.
struct SetPlace {
    int page = 0, pages = 0;
};

// Smallest character cell of a table (8 pt).
inline constexpr double kMinTableCell = 28.3;

// Width of a text in half-width columns (its code page 932 bytes; a
// character code page 932 has not counts two).
int Columns(std::string_view utf8);

// The pages of a report; every report gives at least one page. The report
// must outlive the pages (they point to its drawings). projectTitle heads
// every page (the report's own project field when empty).
std::vector<LaidPage> LayOut(const Report& report, const std::string& projectTitle = {});

// The project title of a condition report (empty when it has none).
std::string ProjectTitleOf(const Report& conditions);

// The date of a date line in full ("2005年12月19日 14:03"), or the line as
// written when it holds no date.
std::string FullDate(std::string_view dateLine);

// The footer of a page: its date, its page of the report and of the set.
std::vector<PageText> FooterOf(const LaidPage& page, SetPlace place);

// Draws a page through the picture (in page units).
void PaintPage(const LaidPage& page, Picture& p, SetPlace place = {});

}  // namespace kova::viewer
