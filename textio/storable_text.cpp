#include "textio/storable_text.hpp"

#include "textio/cp932.hpp"

namespace kova {

bool IsStorableText(std::string_view utf8) {
    return utf8.find_first_of("\"\t\r\n") == std::string_view::npos && IsCp932Encodable(utf8);
}

}  // namespace kova
