#pragma once
// Fixed-decimal number texts shared by both programs: report labels,
// drawings and the number formats of the table grid.
#include <string>
#include <string_view>

namespace kova {

// v with exactly `decimals` decimals ("#0.000" style: at least one digit
// before the point), rounded half away from zero on its 15-significant-digit
// form, so 0.75 gives "0.8" with one decimal. No "-" on a value that rounds
// to zero. A non-finite value gives "0" with the decimals.
std::string FormatFixed(double v, int decimals);

// text right-aligned in `width` columns (blanks on the left); a longer text
// is kept whole.
std::string AlignRight(std::string_view text, std::size_t width);

}  // namespace kova
