#pragma once
// Writer of a viewer page file (*.PDT): line 1 the title, line 2 the date
// line, then form lines, row reservation lines and field lines.
//
//   form line        "$1" (new page) or "$0" (same page), two blanks, the
//                    form file name in columns 5-20, and from column 21 the
//                    name of a drawing placed with the form. Either name may
//                    be empty; a line without drawing ends after the form.
//   field line       two-digit field number 00-19, two blanks, the value
//                    unchanged (leading and trailing blanks kept).
//   row reservation  "$R  n" before the heading form of a table.
//
// Every write is checked; a failure raises PrintFileError naming the file.
#include <filesystem>
#include <string_view>

#include "print/line_file.hpp"
#include "print/print_common.hpp"

namespace kova::print {

class PageWriter {
public:
    // Creates the file and writes the title line and the date line.
    // With a batch, the file is prepared in it (see LineFile).
    PageWriter(const std::filesystem::path& path, std::string_view title,
               const DateStamp& stamp, DateLineStyle style, FileBatch* batch = nullptr);

    // newPage: "$1" when true, "$0" when false. The form is one of the
    // catalogue of forms (print/forms.hpp) or empty; a name outside it, and
    // one longer than 16 bytes before a drawing name (which would move the
    // drawing off column 21), are rejected with std::invalid_argument.
    void Form(bool newPage, std::string_view form, std::string_view drawing = {});
    // Field number 0 to 19 (std::invalid_argument otherwise).
    void Field(int number, std::string_view value);
    void Reserve(int rows);
    void Close() { file_.Close(); }

    const std::string& Name() const { return file_.Name(); }

private:
    LineFile file_;
};

// The form line text as PageWriter::Form writes it.
std::string FormatFormLine(bool newPage, std::string_view form, std::string_view drawing);

}  // namespace kova::print
