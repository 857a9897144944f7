#pragma once
// The one check both programs make on names and titles typed by the user.
#include <string_view>

namespace kova {

// A text the line-oriented files can hold unchanged and a table cell can show
// on one line: no double quote, tab, carriage return or line feed, and every
// character in code page 932.
bool IsStorableText(std::string_view utf8);

}  // namespace kova
