#pragma once
// The form layouts the viewer lays pages out by: the catalogue the writers
// share (print/forms.hpp), and the marks of a field's text as shown.
#include <string>
#include <string_view>

#include "print/forms.hpp"

namespace kova::viewer {

using print::AllForms;
using print::FindForm;
using print::FormColumn;
using print::FormLayout;
using print::FormRole;
using print::HeaderRole;
using print::kTimeDegrees;
using print::kTimeFinalField;
using print::kTimeLayerField;
using print::kTimeSettlementBase;

// A text as the page shows it: every "$U...$Z" raised (its digits, signs
// and brackets as superscript characters), the rest as written.
std::string ShownText(std::string_view text);

}  // namespace kova::viewer
