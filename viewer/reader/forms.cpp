#include "viewer/reader/forms.hpp"

namespace kova::viewer {
namespace {

// Superscript forms of the characters a raised run may hold.
std::string_view Raised(char c) {
    switch (c) {
    case '0': return "⁰";
    case '1': return "¹";
    case '2': return "²";
    case '3': return "³";
    case '4': return "⁴";
    case '5': return "⁵";
    case '6': return "⁶";
    case '7': return "⁷";
    case '8': return "⁸";
    case '9': return "⁹";
    case '+': return "⁺";
    case '-': return "⁻";
    case '(': return "⁽";
    case ')': return "⁾";
    default: return {};
    }
}

}  // namespace

std::string ShownText(std::string_view text) {
    constexpr std::string_view up = "$U", down = "$Z";
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t u = text.find(up, at);
        const std::size_t z = u == std::string_view::npos ? u : text.find(down, u + up.size());
        if (z == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, u - at));
        // A raised run that holds a character without a raised form stays
        // as written, marks and all: nothing is lost.
        const std::string_view run = text.substr(u + up.size(), z - u - up.size());
        std::string raised;
        bool whole = true;
        for (char c : run) {
            const std::string_view r = Raised(c);
            if (r.empty()) whole = false;
            raised.append(r);
        }
        out.append(whole ? raised : std::string(text.substr(u, z + down.size() - u)));
        at = z + down.size();
    }
    return out;
}

}  // namespace kova::viewer
