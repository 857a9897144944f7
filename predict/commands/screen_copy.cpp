#include "predict/commands/screen_copy.hpp"

#include <cmath>
#include <limits>

#include "predict/hyperbolic.hpp"
#include "textio/numfmt.hpp"
#include "textio/cell_text.hpp"
#include "rules/limits.hpp"
#include "textio/storable_text.hpp"

namespace kova::predict {

std::string GridDateText(Date d) {
    grid::CellDate c;
    d.Ymd(c.year, c.month, c.day);
    return grid::FormatDate(c);
}

std::optional<Date> ParseGridDate(std::string_view text) {
    const auto c = grid::ParseDate(text);
    if (!c) return std::nullopt;
    auto date = Date::FromYmd(c->year, c->month, c->day);
    // The zero date (1899/12/30) is how a row without a date shows; a file
    // may hold it as a reading, and it must read back as it shows.
    if (!date || (date->serial != 0 && !date->IsValid())) return std::nullopt;
    return date;
}

double CellValue(std::string_view text) {
    return grid::NumericValue(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

int FirstRowWithoutDate(const GridTexts& grid) {
    for (int r = 1; r <= grid.rowsInUse; ++r)
        if (!ParseGridDate(grid.text(r, kColDate))) return r;
    return 0;
}

std::optional<std::string> RefuseCell(int row, int col, std::string_view text) {
    if (col == kColRemark && !IsStorableText(text))
        return ForbiddenTextMessage(grid::FieldText(kColumnHeaders[col], row), text);
    // The observation file takes no other settlement (NaN, a number too
    // large to hold, fails the check too).
    if (col == kColSettlement && !WithinTypedLimit(Item::ObsSettlement, CellValue(text)))
        return grid::OutOfRangeText(kColumnHeaders[col], row, TypedRangeText(Item::ObsSettlement));
    return std::nullopt;
}

void StoreGridRows(const GridTexts& grid, StationRecord& s) {
    const int count = std::min(grid.rowsInUse, kMaxObservations);
    s.ResizeRows(count);
    for (int i = 1; i <= count; ++i) {
        if (auto d = ParseGridDate(grid.text(i, kColDate))) s.ObsDate[i] = *d;
        const double v = grid.value ? grid.value(i, kColSettlement).value_or(std::nan(""))
                                    : CellValue(grid.text(i, kColSettlement));
        if (std::isfinite(v)) s.Settlement[i] = v;
        std::string remark = grid.text(i, kColRemark);
        if (IsStorableText(remark)) s.Remark[i] = std::move(remark);
        s.SW[i] = CellValue(grid.text(i, kColSW)) == 1 ? 1 : 0;
    }
}

std::optional<std::int16_t> RangeValue(std::string_view text) { return grid::IntegerValue(text); }

bool CopyScreenIntoStation(const GridTexts& grid, std::string_view tsText, std::string_view teText,
                           StationRecord& station, MessageSink& messages, int* badRow) {
    if (badRow) *badRow = 0;
    const auto sa = RangeValue(tsText);
    if (!sa) {
        messages.Show(DataError(kBadSa));
        return false;
    }
    const auto saPrime = RangeValue(teText);
    if (!saPrime) {
        messages.Show(DataError(kBadSaPrime));
        return false;
    }
    if (int row = FirstRowWithoutDate(grid)) {
        messages.Notify(kBadDateText, MsgIcon::None);
        if (badRow) *badRow = row;
        return false;
    }
    for (int r = 1; r <= grid.rowsInUse; ++r)
        for (int c : {kColSettlement, kColRemark})
            if (auto why = RefuseCell(r, c, grid.text(r, c))) {
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
