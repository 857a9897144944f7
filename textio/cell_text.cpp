#include "textio/cell_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "textio/cformat.hpp"
#include "textio/numfmt.hpp"

namespace kova::grid {

namespace {

// Decodes one UTF-8 sequence starting at s[i]; returns its length (1 on a
// malformed byte, which is then copied as it is).
std::size_t Utf8Next(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        cp = 0xFFFD;
        return 1;
    }
    cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c >> 6) != 0x2) {
            cp = 0xFFFD;
            return 1;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

bool Skipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

int DigitOf(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d < base ? d : -1;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

}  // namespace

std::string FoldFullWidth(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = Utf8Next(utf8, i, cp);
        if (cp >= 0xFF01 && cp <= 0xFF5E) out += static_cast<char>(cp - 0xFF01 + 0x21);
        else if (cp == 0x3000) out += ' ';
        else out.append(utf8.substr(i, len));
        i += len;
    }
    return out;
}

std::optional<double> NumericValue(std::string_view text) {
    std::string s;
    for (char c : FoldFullWidth(text))
        if (!Skipped(c)) s += c;

    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        double v = 0;
        for (std::size_t i = 2; i < s.size() && DigitOf(s[i], base) >= 0; ++i) v = v * base + DigitOf(s[i], base);
        if (!std::isfinite(v)) return std::nullopt;
        return v;
    }

    std::size_t i = 0;
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], digits = true;
    if (i < s.size() && s[i] == '.') {
        num += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], digits = true;
    }
    if (!digits) return 0.0;
    bool negExp = false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negExp = s[j] == '-', exp += s[j++];
        const std::size_t first = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') exp += s[j++];
        if (j > first) num += exp;  // "1E" alone is just 1
    }
    const char* b = num.data();
    if (*b == '+') ++b;
    double v = 0;
    const auto r = std::from_chars(b, num.data() + num.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        if (negExp) return 0.0;  // too small to hold: zero
        return std::nullopt;
    }
    if (r.ec != std::errc() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool IsWholeNumber(std::string_view text) {
    std::string s;
    for (char c : FoldFullWidth(text))
        if (!Skipped(c)) s += c;
    std::size_t i = 0;
    const auto digitsFrom = [&](int base) {
        const std::size_t first = i;
        while (i < s.size() && DigitOf(s[i], base) >= 0) ++i;
        return i - first;
    };
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        i = 2;
        return digitsFrom(s[1] == 'H' || s[1] == 'h' ? 16 : 8) > 0 && i == s.size();
    }
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = digitsFrom(10);
    if (i < s.size() && s[i] == '.') {
        ++i;
        digits += digitsFrom(10);
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digitsFrom(10) == 0) return false;
    }
    return i == s.size();
}

bool IsBlankText(std::string_view text) {
    for (char c : FoldFullWidth(text))
        if (!Skipped(c)) return false;
    return true;
}

std::optional<std::int16_t> ToInt16(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);  // the default rounding mode: halves to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int16_t> IntegerValue(std::string_view text) {
    const auto v = NumericValue(text);
    if (!v) return std::nullopt;
    return ToInt16(*v);
}

std::string FormatNumber(double v, std::string_view pattern) {
    const std::size_t first = pattern.find_first_of("0#");
    if (first == std::string_view::npos) return std::string(pattern);
    const std::size_t last = pattern.find_last_of("0#");
    const std::string_view prefix = pattern.substr(0, first);
    const std::string_view suffix = pattern.substr(last + 1);
    const std::string_view body = pattern.substr(first, last - first + 1);
    const std::size_t point = body.find('.');
    const std::string_view intPart = body.substr(0, point);
    int decimals = 0, fixed = 0;
    if (point != std::string_view::npos)
        for (char c : body.substr(point + 1)) {
            if (c == '0') fixed = ++decimals;
            else if (c == '#') ++decimals;
        }
    std::string s = FormatFixed(v, decimals);
    // "#" decimals are written only when significant.
    if (decimals > fixed) {
        const std::size_t dot = s.find('.');
        std::size_t keep = s.size();
        while (keep > dot + 1 + static_cast<std::size_t>(fixed) && s[keep - 1] == '0') --keep;
        if (keep == dot + 1) keep = dot;
        s.erase(keep);
    }
    if (intPart.find('0') == std::string_view::npos) {
        // "#" before the point: a zero integer part is not written.
        const std::size_t at = s[0] == '-' ? 1 : 0;
        if (s.compare(at, 1, "0") == 0 && (s.size() == at + 1 || s[at + 1] == '.')) s.erase(at, 1);
        if (s == "-") s.clear();
    }
    return std::string(prefix) + s + std::string(suffix);
}

std::optional<CellDate> ParseDate(std::string_view text) {
    const std::string s = FoldFullWidth(text);
    std::vector<int> parts;
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    std::size_t end = s.size();
    while (end > i && s[end - 1] == ' ') --end;
    while (i < end) {
        int v = 0;
        const std::size_t start = i;
        while (i < end && s[i] >= '0' && s[i] <= '9' && i - start < 5) v = v * 10 + (s[i++] - '0');
        if (i == start) return std::nullopt;
        parts.push_back(v);
        if (i == end) break;
        if (s[i] != '/' && s[i] != '-' && s[i] != '.') return std::nullopt;
        if (++i == end) return std::nullopt;
    }
    if (parts.size() != 3) return std::nullopt;
    const CellDate d{parts[0], parts[1], parts[2]};
    if (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12) return std::nullopt;
    if (d.day < 1 || d.day > DaysInMonth(d.year, d.month)) return std::nullopt;
    return d;
}

std::string FormatDate(const CellDate& d) { return CFormat("%04d/%02d/%02d", d.year, d.month, d.day); }

std::string ApplyPattern(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return std::string(text);
    if (pattern == kDatePattern) {
        const auto d = ParseDate(text);
        return d ? FormatDate(*d) : std::string(text);
    }
    if (FoldFullWidth(text).find_first_not_of(" \t\n") == std::string::npos) return {};
    const auto v = NumericValue(text);
    if (!v) return std::string(text);
    // A whole-number column shows what the integer conversion will store:
    // halves go to the even neighbour, so 2.5 shows and stores 2.
    const std::size_t point = pattern.find('.');
    const bool whole = point == std::string_view::npos || pattern.find_first_of("0#", point) == std::string_view::npos;
    return FormatNumber(whole ? std::nearbyint(*v) : *v, pattern);
}

std::string StoredNumberText(std::string_view typed, std::string_view pattern, bool rowInUse) {
    if (IsBlankText(typed)) {
        if (!rowInUse) return {};
        typed = "0";
    }
    if (!pattern.empty()) return ApplyPattern(typed, pattern);
    const std::optional<double> v = NumericValue(typed);
    if (!v) return std::string(typed);
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, *v);
    return std::string(buf, r.ptr);
}

std::string FieldText(std::string_view name, int row) {
    std::string s = "「" + std::string(name) + "」";
    if (row > 0) s += "の" + std::to_string(row) + "行目";
    return s;
}

std::string NotANumberText(std::string_view name, int row) { return FieldText(name, row) + "には数値を入力してください。"; }

std::string OutOfRangeText(std::string_view name, int row, std::string_view range) {
    return FieldText(name, row) + "は" + std::string(range) + "の範囲で指定してください。";
}

}  // namespace kova::grid
