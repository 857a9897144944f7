#include "predict/commands/station_list.hpp"

#include <algorithm>

#include "textio/storable_text.hpp"

namespace kova::predict {

StationListChange ApplyStationRows(ObsDataSet& data, int currentRow, int rowsInUse) {
    int count = std::clamp<int>(data.StationCount, 0, kMaxStations);
    if (rowsInUse == count) return StationListChange::None;
    if (rowsInUse > kMaxStations) return StationListChange::Refused;
    if (rowsInUse > count) {
        const int r = std::clamp(currentRow, 1, count + 1);
        for (int n = rowsInUse - count; n > 0; --n) {
            for (int j = count; j >= r; --j) data.Stations[j + 1] = std::move(data.Stations[j]);
            // A station joining the list starts empty, not as a copy of the
            // record that stood there.
            data.Stations[r] = StationRecord{};
            ++count;
        }
        data.StationCount = static_cast<std::int16_t>(count);
        return StationListChange::Inserted;
    }
    const int r = std::clamp(currentRow, 1, std::max(count, 1));
    for (int n = count - std::max(rowsInUse, 0); n > 0 && count > 0; --n) {
        for (int j = r; j <= count - 1; ++j) data.Stations[j] = data.Stations[j + 1];
        // The record left behind lies beyond the list, without observations.
        data.Stations[count].ResizeRows(0);
        --count;
    }
    data.StationCount = static_cast<std::int16_t>(count);
    return StationListChange::Deleted;
}

std::string StationNameField(int k) { return "観測所" + std::to_string(k) + "の名称"; }

std::optional<std::string> CommitStationList(ObsDataSet& data, const std::string& title,
                                             const std::vector<std::string>& names) {
    if (!IsStorableText(title)) return ForbiddenTextMessage(kJobTitleField, title);
    const int count = std::min<int>(static_cast<int>(names.size()), kMaxStations);
    for (int i = 0; i < count; ++i)
        if (!IsStorableText(names[static_cast<std::size_t>(i)]))
            return ForbiddenTextMessage(StationNameField(i + 1), names[static_cast<std::size_t>(i)]);
    data.JobTitle = title;
    data.StationCount = static_cast<std::int16_t>(count);
    for (int i = 1; i <= count; ++i) data.Stations[i].Name = names[static_cast<std::size_t>(i - 1)];
    return std::nullopt;
}

}  // namespace kova::predict
