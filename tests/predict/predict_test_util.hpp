#pragma once
// Fixtures shared by the prediction tests.
#include <filesystem>
#include <initializer_list>
#include <string>

#include "predict/hyperbolic.hpp"
#include "predict/obsdata.hpp"
#include "tests/support/tempdir.hpp"

namespace kova::predict::test {

using kova::test::ReadBytes;
using kova::test::TempDir;
using kova::test::WriteBytes;

inline std::filesystem::path DataPath(const std::string& name) {
    return std::filesystem::path(KOVA_TEST_DATA) / "predict" / name;
}

struct Row {
    int day;  // days after 2003-04-15
    double settlement;
    int sw = 0;
};

// A station whose observation i + 1 is rows[i], dated from 2003-04-15.
inline StationRecord MakeStation(std::initializer_list<Row> rows, int sa, int saPrime) {
    StationRecord s;
    s.ResizeRows(static_cast<int>(rows.size()));
    const Date base = *Date::FromYmd(2003, 4, 15);
    int i = 1;
    for (const Row& r : rows) {
        s.ObsDate[i] = Date{base.serial + r.day};
        s.Settlement[i] = r.settlement;
        s.SW[i] = static_cast<std::int16_t>(r.sw);
        ++i;
    }
    s.Sa = static_cast<std::int16_t>(sa);
    s.SaPrime = static_cast<std::int16_t>(saPrime);
    return s;
}

// The worked data set: days 0, 10, 30, 90 with 0, 0.5, 0.75, 0.9 m lie on
// (t - t0)/(S - S0) = t + 10, so a = 1, b = 10 and Sf = 1.
inline StationRecord PartStation() {
    return MakeStation({{0, 0}, {10, 0.5}, {30, 0.75}, {90, 0.9}}, 1, 4);
}

inline ObsSettings Option(int option) {
    ObsSettings s;
    s.SettlementOption = static_cast<std::int16_t>(option);
    return s;
}

}  // namespace kova::predict::test
