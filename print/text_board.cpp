#include "print/text_board.hpp"

namespace kova::print {

TextExtent TextExtentOf(int x, int y, int cell, int angle, const std::string& utf8) {
    int len = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        len += n == 1 ? cell / 2 : cell;
        i += n;
    }
    if (angle == 90) return {x - cell, y - len, x, y};
    return {x, y - cell, x + len, y};
}

bool TextBoard::Free(const TextExtent& e) const {
    for (const TextExtent& t : taken_)
        if (e.left < t.right && t.left < e.right && e.top < t.bottom && t.top < e.bottom) return false;
    return true;
}

}  // namespace kova::print
