#pragma once
// Number texts shared by both programs: the fixed decimals of report
// labels, drawings and the table grid; a value as read for messages.
#include <string>
#include <string_view>

namespace kova {

// v with exactly `decimals` decimals ("#0.000" style: at least one digit
// before the point), rounded half away from zero on its 15-significant-digit
// form, so 0.75 gives "0.8" with one decimal. No "-" on a value that rounds
// to zero. A non-finite value gives "0" with the decimals.
std::string FormatFixed(double v, int decimals);

// v as read: the shortest text that reads back as the same double ("1",
// "1.0000001", "1e-06"), for a message that refuses a value against a
// bound, where fixed decimals or %g could show a refused value as an
// allowed one. "nan", "inf" or "-inf" when v is not finite.
std::string FormatAsRead(double v);

// text right-aligned in `width` columns (blanks on the left); a longer text
// is kept whole.
std::string AlignRight(std::string_view text, std::size_t width);

}  // namespace kova
