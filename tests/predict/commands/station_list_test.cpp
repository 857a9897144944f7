#include "predict/commands/station_list.hpp"

#include <gtest/gtest.h>

#include "tests/predict/predict_test_util.hpp"

using namespace kova::predict;
using kova::predict::test::PartStation;

namespace {

// n stations named "A", "B", ...; station i has i observations and a fit.
ObsDataSet Stations(int n) {
    ObsDataSet d;
    d.StationCount = static_cast<std::int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        StationRecord& s = d.Stations[i];
        s.Name = std::string(1, static_cast<char>('A' + i - 1));
        s.ResizeRows(i);
        s.Sa = 1;
        s.SaPrime = static_cast<std::int16_t>(i);
        s.LastDay = 100 + i;
        s.FinalSettlement = i;
    }
    // A stale record beyond the list, as deletes leave them.
    d.Stations[n + 1 <= kMaxStations ? n + 1 : 0].Name = "stale";
    d.Stations[n + 1 <= kMaxStations ? n + 1 : 0].LastDay = 7;
    return d;
}

std::string Names(const ObsDataSet& d) {
    std::string r;
    for (int i = 1; i <= d.StationCount; ++i) r += d.Stations[i].Name.empty() ? "_" : d.Stations[i].Name;
    return r;
}

void ExpectCleared(const StationRecord& s) {
    EXPECT_EQ(s.Name, "");
    EXPECT_EQ(s.Count, 0);
    EXPECT_EQ(s.ObsDate.size(), 1u);
    EXPECT_EQ(s.Sa, 0);
    EXPECT_EQ(s.SaPrime, 0);
    EXPECT_EQ(s.LastDay, 0);
    EXPECT_EQ(s.FinalSettlement, 0);
}

TEST(StationList, RowsInsertedAndDeleted) {
    const struct {
        int stations, row, rowsInUse;
        StationListChange change;
        std::string names;
        int clearedAt;  // the station that joined the list, 0 none
    } cases[] = {
        {5, 1, 6, StationListChange::Inserted, "_ABCDE", 1},
        {5, 3, 7, StationListChange::Inserted, "AB__CDE", 3},
        {5, 6, 6, StationListChange::Inserted, "ABCDE_", 6},   // a name typed below the last
        {0, 1, 1, StationListChange::Inserted, "_", 1},        // the first name into an empty list
        {5, 2, 4, StationListChange::Deleted, "ACDE", 0},
        {5, 5, 4, StationListChange::Deleted, "ABCD", 0},
        {5, 2, 2, StationListChange::Deleted, "AE", 0},
        {20, 4, 19, StationListChange::Deleted, "ABCEFGHIJKLMNOPQRST", 0},
        {5, 3, 5, StationListChange::None, "ABCDE", 0},
        {20, 1, 21, StationListChange::Refused, "ABCDEFGHIJKLMNOPQRST", 0},
        {19, 1, 21, StationListChange::Refused, "ABCDEFGHIJKLMNOPQRS", 0},
    };
    for (const auto& c : cases) {
        ObsDataSet d = Stations(c.stations);
        SCOPED_TRACE(testing::Message() << c.stations << " " << c.row << " " << c.rowsInUse);
        EXPECT_EQ(ApplyStationRows(d, c.row, c.rowsInUse), c.change);
        EXPECT_EQ(Names(d), c.names);
        if (c.clearedAt) ExpectCleared(d.Stations[c.clearedAt]);
        // Every station keeps its own observations as it moves.
        for (int i = 1; i <= d.StationCount; ++i) {
            const StationRecord& s = d.Stations[i];
            if (!s.Name.empty()) {
                EXPECT_EQ(s.Count, s.Name[0] - 'A' + 1);
            }
        }
    }
}

TEST(StationList, DeletedLastRecordKeepsItsNameWithoutObservations) {
    ObsDataSet d = Stations(5);
    ApplyStationRows(d, 2, 4);
    EXPECT_EQ(d.StationCount, 4);
    EXPECT_EQ(d.Stations[5].Name, "E");
    EXPECT_EQ(d.Stations[5].Count, 0);
    EXPECT_EQ(d.Stations[5].Settlement.size(), 1u);
}

TEST(StationList, OkTakesTitleAndNamesUnlessTheFileCannotHoldThem) {
    ObsDataSet d = Stations(3);
    EXPECT_EQ(CommitStationList(d, "題\"名", {"X", "Y", "Z"}), "業務名称に使用できない文字（\"）が含まれています。");
    EXPECT_EQ(CommitStationList(d, "題名", {"X", "Y\rZ", "Z"}), "観測所2の名称に使用できない文字（改行）が含まれています。");
    EXPECT_EQ(d.JobTitle, "無題");
    EXPECT_EQ(Names(d), "ABC");
    EXPECT_FALSE(CommitStationList(d, "現場 ｱ", {"", "No.2", "Z"}).has_value());
    EXPECT_EQ(d.JobTitle, "現場 ｱ");
    EXPECT_EQ(Names(d), "_No.2Z");
    EXPECT_EQ(d.Stations[2].Count, 2);
}

}  // namespace
