#include "textio/storable_text.hpp"

#include "textio/cp932.hpp"

namespace kova {

namespace {

// One whole UTF-8 character (what is not would show as garbage).
bool WholeCharacter(std::string_view ch) {
    const auto c = static_cast<unsigned char>(ch[0]);
    const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (n == 0 || ch.size() != n || c > 0xF4) return false;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(ch[i]) & 0xC0) != 0x80) return false;
    return true;
}

}  // namespace

bool IsStorableText(std::string_view utf8) {
    return utf8.find_first_of("\"\t\r\n") == std::string_view::npos && IsCp932Encodable(utf8);
}

std::string ForbiddenCharacter(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\t') return "タブ";
        if (c == '\r' || c == '\n') return "改行";
        if (c == '"') return "\"";
        std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (i + n > utf8.size()) n = utf8.size() - i;
        const std::string_view ch = utf8.substr(i, n);
        if (!IsCp932Encodable(ch)) return WholeCharacter(ch) ? std::string(ch) : std::string("不正なバイト");
        i += n;
    }
    return {};
}

std::string ForbiddenTextMessage(std::string_view field, std::string_view utf8) {
    std::string ch = ForbiddenCharacter(utf8);
    std::string out(field);
    out += "に使用できない文字";
    if (!ch.empty()) out += "（" + ch + "）";
    out += "が含まれています。";
    return out;
}

}  // namespace kova
