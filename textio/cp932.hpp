#pragma once
// Conversion between the UTF-8 text held in memory and the code page 932
// bytes of every file the programs exchange.
#include <stdexcept>
#include <string>
#include <string_view>

namespace kova {

// Raised when a text cannot be converted without loss.
class TextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// UTF-8 -> code page 932. Throws TextError when a character has no code.
std::string Utf8ToCp932(std::string_view utf8);
// Code page 932 -> UTF-8. Throws TextError on bytes that are not valid.
std::string Cp932ToUtf8(std::string_view cp932);
// True when every character of the UTF-8 text has a code page 932 code.
bool IsCp932Encodable(std::string_view utf8);
// Number of bytes the text takes in code page 932 (throws like Utf8ToCp932).
std::size_t Cp932Length(std::string_view utf8);
// The longest prefix of a UTF-8 text whose code page 932 form has at most
// maxBytes bytes; never cuts a character in two.
std::string TruncateCp932(std::string_view utf8, std::size_t maxBytes);
// The longest prefix of code page 932 bytes of at most maxBytes bytes that
// ends on a character boundary.
std::string_view TruncateCp932Bytes(std::string_view cp932, std::size_t maxBytes);

}  // namespace kova
