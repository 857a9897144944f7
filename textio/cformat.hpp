#pragma once
// printf-style formatting that always uses the "C" locale, whatever locale a
// toolkit has set for the process, so that fixed print formats always write a
// period as the decimal separator.
#include <string>

namespace kova {

std::string CFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kova
