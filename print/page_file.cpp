#include "print/page_file.hpp"

#include <stdexcept>

#include "print/forms.hpp"
#include "textio/cformat.hpp"

namespace kova::print {

std::string FormatFormLine(bool newPage, std::string_view form, std::string_view drawing) {
    std::string s = newPage ? "$1" : "$0";
    if (drawing.empty()) {
        if (!form.empty()) {
            s += "  ";
            s += form;
        }
        return s;
    }
    if (form.size() > 16)
        throw std::invalid_argument("form name too long to place a drawing at column 21");
    s += "  ";
    s += form;
    s.append(16 - form.size(), ' ');
    s += drawing;
    return s;
}

PageWriter::PageWriter(const std::filesystem::path& path, std::string_view title,
                       const DateStamp& stamp, DateLineStyle style, FileBatch* batch)
    : file_(path, batch) {
    file_.Line(title);
    file_.Line(FormatDateLine(stamp, style));
}

void PageWriter::Form(bool newPage, std::string_view form, std::string_view drawing) {
    // A form outside the catalogue would reach the viewer without a layout.
    if (!form.empty() && !FindForm(form)) throw std::invalid_argument("form not in the catalogue of forms");
    file_.Line(FormatFormLine(newPage, form, drawing));
}

void PageWriter::Field(int number, std::string_view value) {
    if (number < 0 || number > 19) throw std::invalid_argument("field number out of 00-19");
    std::string s = CFormat("%02d  ", number);
    s += value;
    file_.Line(s);
}

void PageWriter::Reserve(int rows) { file_.Line(CFormat("$R  %d", rows)); }

}  // namespace kova::print
