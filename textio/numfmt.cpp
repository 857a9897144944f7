#include "textio/numfmt.hpp"

#include <charconv>
#include <cmath>
#include <string>

#include "textio/cformat.hpp"

namespace kova {

std::string FormatAsRead(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string FormatFixed(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    if (decimals < 0) decimals = 0;
    const bool neg = v < 0;
    // 15 significant digits, d.dddddddddddddde±XX
    const std::string sci = CFormat("%.14e", std::fabs(v));
    const std::string digits = sci.substr(0, 1) + sci.substr(2, 14);
    const int exp = std::stoi(sci.substr(sci.find('e') + 1));

    // The integer |v| * 10^decimals, rounded, as decimal digits.
    const int keep = exp + 1 + decimals;
    std::string n;
    if (keep < 0) {
        n = "0";
    } else if (keep >= static_cast<int>(digits.size())) {
        n = digits + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
    } else {
        n = "0" + digits.substr(0, static_cast<std::size_t>(keep));
        if (digits[static_cast<std::size_t>(keep)] >= '5') {
            std::size_t i = n.size();
            while (i-- > 0) {
                if (n[i] == '9') {
                    n[i] = '0';
                } else {
                    ++n[i];
                    break;
                }
            }
        }
    }
    std::size_t nz = n.find_first_not_of('0');
    n = nz == std::string::npos ? "0" : n.substr(nz);
    const bool zero = n == "0";
    if (n.size() < static_cast<std::size_t>(decimals) + 1)
        n.insert(0, static_cast<std::size_t>(decimals) + 1 - n.size(), '0');
    if (decimals > 0) n.insert(n.size() - static_cast<std::size_t>(decimals), ".");
    return (neg && !zero) ? "-" + n : n;
}

std::string AlignRight(std::string_view text, std::size_t width) {
    std::string s(text);
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

}  // namespace kova
