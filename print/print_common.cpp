#include "print/print_common.hpp"

#include <cmath>

#include "textio/cformat.hpp"
#include "textio/cp932.hpp"

namespace kova::print {
namespace {

const char* StageText(PrintFileError::Stage s) {
    switch (s) {
    case PrintFileError::Stage::Create: return "cannot create";
    case PrintFileError::Stage::Write: return "cannot write";
    case PrintFileError::Stage::Close: return "cannot close";
    }
    return "";
}

}  // namespace

PrintFileError::PrintFileError(std::string fileName, Stage stage, const std::string& detail)
    : std::runtime_error(std::string(StageText(stage)) + " " + fileName +
                         (detail.empty() ? "" : ": " + detail)),
      fileName_(std::move(fileName)),
      stage_(stage) {}

DateStamp StampFromTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    DateStamp s;
    s.year2 = (tm.tm_year + 1900) % 100;
    s.month = tm.tm_mon + 1;
    s.day = tm.tm_mday;
    s.hour = tm.tm_hour;
    s.minute = tm.tm_min;
    s.second = tm.tm_sec;
    return s;
}

DateStamp StampNow() { return StampFromTime(std::time(nullptr)); }

std::string FormatDateLine(const DateStamp& s, DateLineStyle style) {
    if (style == DateLineStyle::Prediction)
        return CFormat("  %02d  %02d  %02d  %02d  %02d  %02dtest", s.year2, s.month, s.day,
                       s.hour, s.minute, s.second);
    return CFormat("%4d%4d%4d%4d%4d%4d%15s", s.year2, s.month, s.day, s.hour, s.minute,
                   s.second, "");
}

int ToDrawingInt(double v, Rounding mode) {
    if (std::isnan(v)) return 0;
    // Round first (inside double, which is exact for these magnitudes), then
    // clamp, so that no out-of-range double ever reaches the conversion.
    double r;
    switch (mode) {
    case Rounding::Floor: r = std::floor(v); break;
    case Rounding::NearestEven: r = std::nearbyint(v); break;  // default mode: ties to even
    case Rounding::TowardZero:
    default: r = std::trunc(v); break;
    }
    if (r < kDrawingMin) return kDrawingMin;
    if (r > kDrawingMax) return kDrawingMax;
    return static_cast<int>(r);
}

int ClampDrawing(long long v) {
    if (v < kDrawingMin) return kDrawingMin;
    if (v > kDrawingMax) return kDrawingMax;
    return static_cast<int>(v);
}

int TextBytes(std::string_view utf8) { return static_cast<int>(Cp932Length(utf8)); }

std::string Dashes(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "─";
    return s;
}

}  // namespace kova::print
