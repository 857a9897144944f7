#pragma once
// The catalogue of the forms the engine and the prediction program write and
// the viewer lays out: for each form its name, its part in the report (a
// heading, a row of a table, a total under a table, a note, ...), its words
// and what each field holds (caption and unit). The writers and the viewer
// both link this one table; a form written outside it would be shown raw,
// which the tests of every writer check against it. The table itself is
// data in forms.cpp.
#include <string>
#include <string_view>
#include <vector>

namespace kova::print {

enum class FormRole {
    Title,      // a block of labelled fields ("caption  value") under a heading
    Heading,    // a heading; its fields follow the words on the same line
    Row,        // one row of a table; a run of the same form is one table
    TimeRow,    // one unit of a time table: days and settlements by degree
    Total,      // a row under the table just above, its fields under columns
    Note,       // a line of text under the table just above
    End,        // closes a table; shows nothing
    Statement,  // a heading, each field a sentence under it
};

// What a field of a title block also stands for in the page header.
enum class HeaderRole { None, Project, Position, PositionX };

struct FormColumn {
    int field = 0;
    std::string caption;
    std::string unit;  // may be empty
    // Total: the field of the row form this value stands under.
    int under = -1;
    HeaderRole header = HeaderRole::None;
};

struct FormLayout {
    std::string_view form;
    FormRole role = FormRole::End;
    // Heading, Title, Statement: the words; Row: the table's heading when no
    // heading form stands before it; Total: the label of the row; Note: a lead.
    std::string_view words;
    // Row, Title, Total: in the order shown. A heading may give the columns
    // of the rows under it when one row form serves several tables.
    std::vector<FormColumn> columns;
};

// The layout of a form name, or nullptr for a form not in the catalogue.
const FormLayout* FindForm(std::string_view form);

// Every layout (for checks over the whole table).
const std::vector<FormLayout>& AllForms();

// The engine's page of a position with no soil under it: its sentence in
// field 0.
inline constexpr std::string_view kNoSoilForm = "SOU_NOSOIL.PFM";

// Degrees of consolidation of a time table, in %, one per day field.
inline constexpr int kTimeDegrees = 9;
// A time row: day of degree k in field k, settlement in field 10 + k, the
// reference layer in 9, the final settlement in 19.
inline constexpr int kTimeLayerField = 9;
inline constexpr int kTimeSettlementBase = 10;
inline constexpr int kTimeFinalField = 19;

}  // namespace kova::print
