#include "predict/window/screen_copy.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "predict/hyperbolic.hpp"
#include "predict/numfmt.hpp"
#include "platform/twips.hpp"

namespace kova::predict {
namespace {

// Full-width digits and the separators a Japanese keyboard gives, as ASCII.
std::string Halfwidth(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        // U+FF01..U+FF5E are EF BC 81..EF BD 9E in UTF-8.
        if (c == 0xEF && i + 2 < s.size()) {
            const auto b1 = static_cast<unsigned char>(s[i + 1]);
            const auto b2 = static_cast<unsigned char>(s[i + 2]);
            unsigned cp = 0;
            if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) cp = 0xFF00 + (b2 - 0x80);
            else if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) cp = 0xFF40 + (b2 - 0x80);
            if (cp != 0) {
                out += static_cast<char>(cp - 0xFF00 + 0x20);
                i += 3;
                continue;
            }
        }
        out += s[i];
        ++i;
    }
    return out;
}

bool Digits(std::string_view s, int minLen, int maxLen, int& value) {
    if (s.size() < std::size_t(minLen) || s.size() > std::size_t(maxLen)) return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

Message DataError(const char* text) {
    return Message{text, kDataErrorCaption, MsgIcon::Exclamation, MsgButtons::Ok, 0};
}

}  // namespace

std::string GridDateText(Date d) {
    int y, m, dd;
    d.Ymd(y, m, dd);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, dd);
    return buf;
}

std::optional<Date> ParseGridDate(std::string_view text) {
    std::string s = Halfwidth(text);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(s.begin());
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    const char sep = s.find('/') != std::string::npos ? '/' : '-';
    const std::size_t p1 = s.find(sep);
    if (p1 == std::string::npos) return std::nullopt;
    const std::size_t p2 = s.find(sep, p1 + 1);
    if (p2 == std::string::npos) return std::nullopt;
    int y, m, d;
    if (!Digits(std::string_view(s).substr(0, p1), 3, 4, y) ||
        !Digits(std::string_view(s).substr(p1 + 1, p2 - p1 - 1), 1, 2, m) ||
        !Digits(std::string_view(s).substr(p2 + 1), 1, 2, d))
        return std::nullopt;
    auto date = Date::FromYmd(y, m, d);
    if (!date || !date->IsValid()) return std::nullopt;
    return date;
}

double CellValue(std::string_view text) {
    std::string s;
    for (char c : Halfwidth(text))
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s += c;
    std::size_t i = 0;
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], digits = true;
    if (i < s.size() && s[i] == '.') {
        num += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], digits = true;
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
        bool expDigits = false;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') exp += s[j++], expDigits = true;
        if (expDigits) num += exp;
    }
    return std::strtod(num.c_str(), nullptr);
}

int FirstRowWithoutDate(const GridTexts& grid) {
    for (int r = 1; r <= grid.rowsInUse; ++r)
        if (!ParseGridDate(grid.text(r, kColDate))) return r;
    return 0;
}

std::optional<std::string> RefuseCell(int col, std::string_view text) {
    if (col == kColRemark && !IsStorableText(text)) return std::string(kBadCharsText);
    if (col == kColSettlement && !std::isfinite(CellValue(text))) return std::string(kBadNumberText);
    return std::nullopt;
}

void StoreGridRows(const GridTexts& grid, StationRecord& s) {
    const int count = std::min(grid.rowsInUse, kMaxObservations);
    s.ResizeRows(count);
    for (int i = 1; i <= count; ++i) {
        if (auto d = ParseGridDate(grid.text(i, kColDate))) s.ObsDate[i] = *d;
        const double v = CellValue(grid.text(i, kColSettlement));
        s.Settlement[i] = std::isfinite(v) ? v : s.Settlement[i];
        std::string remark = grid.text(i, kColRemark);
        if (IsStorableText(remark)) s.Remark[i] = std::move(remark);
        s.SW[i] = CellValue(grid.text(i, kColSW)) == 1 ? 1 : 0;
    }
}

std::optional<std::int16_t> RangeValue(std::string_view text) {
    const double v = CellValue(text);
    if (!std::isfinite(v) || v < -32768.5 || v > 32767.5) return std::nullopt;
    const long r = RoundHalfEven(v);
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

bool CopyScreenIntoStation(const GridTexts& grid, std::string_view tsText, std::string_view teText,
                           StationRecord& station, MessageSink& messages, int* badRow) {
    if (badRow) *badRow = 0;
    const auto sa = RangeValue(tsText);
    if (!sa) {
        messages.Show(DataError("Saが不正です"));
        return false;
    }
    const auto saPrime = RangeValue(teText);
    if (!saPrime) {
        messages.Show(DataError("Sa'が不正です"));
        return false;
    }
    if (int row = FirstRowWithoutDate(grid)) {
        messages.Notify(kBadDateText, MsgIcon::None);
        if (badRow) *badRow = row;
        return false;
    }
    for (int r = 1; r <= grid.rowsInUse; ++r)
        for (int c : {kColSettlement, kColRemark})
            if (auto why = RefuseCell(c, grid.text(r, c))) {
                messages.Notify(*why, MsgIcon::Exclamation);
                if (badRow) *badRow = r;
                return false;
            }
    station.Sa = *sa;
    station.SaPrime = *saPrime;
    StoreGridRows(grid, station);
    return true;
}

std::string ResultLabel(double v, int decimals, bool trailingBlank) {
    std::string t = FormatFixed(v, decimals);
    if (trailingBlank) t += ' ';
    return AlignRight(t, 13);
}

}  // namespace kova::predict
