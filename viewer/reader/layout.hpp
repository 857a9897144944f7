#pragma once
// Page layout of a report without its form files: on every page the title
// and the date of the date line at the top; each form's fields under the
// form's name, a form repeated for rows as one table with a column per field
// number; drawings to scale in their frames. Units are tenths of a
// millimetre on an A4 sheet, y downwards.
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
    Frame frame;
};

struct LaidPage {
    std::vector<PageText> texts;
    std::vector<PageRule> rules;
    std::vector<PagePlacement> drawings;
};

// Width of a text in half-width columns (its code page 932 bytes; a
// character code page 932 has not counts two).
int Columns(std::string_view utf8);

// The pages of a report; every report gives at least one page. The report
// must outlive the pages (they point to its drawings).
std::vector<LaidPage> LayOut(const Report& report);

// Draws a page through the picture (in page units).
void PaintPage(const LaidPage& page, Picture& p);

}  // namespace kova::viewer
