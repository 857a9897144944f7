#pragma once
// The one check both programs make on names and titles typed by the user.
#include <string>
#include <string_view>

namespace kova {

// A text the line-oriented files can hold unchanged and a table cell can show
// on one line: no double quote, tab, carriage return or line feed, and every
// character in code page 932.
bool IsStorableText(std::string_view utf8);

// The first character IsStorableText refuses, as a message names it: the
// character itself, or "タブ" and "改行" for what cannot be seen; empty when
// the text is storable.
std::string ForbiddenCharacter(std::string_view utf8);

// The refusal of a text typed into `field`, naming the character:
// "<field>に使用できない文字（"）が含まれています。"
std::string ForbiddenTextMessage(std::string_view field, std::string_view utf8);

}  // namespace kova
