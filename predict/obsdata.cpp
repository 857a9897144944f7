#include "predict/obsdata.hpp"

#include <charconv>
#include <chrono>
#include <cmath>
#include <concepts>
#include <optional>

#include "rules/limits.hpp"
#include "textio/cformat.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/fieldlist.hpp"
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace kova::predict {
namespace {

using namespace std::chrono;

constexpr sys_days kSerialEpoch = sys_days{year{1899} / December / 30};

// ---- writing ---------------------------------------------------------------

// Shortest plain decimal text that reads back as the same double.
std::string FormatDouble(double v) {
    if (v == 0) return "0";
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

// Writes the key lines of the file. A fault names the record (`where`) and
// the item.
class LineOut {
public:
    explicit LineOut(TextFileBuilder& out) : out_(out) {}
    std::string where;

    void Key(std::string_view s) { Add("\"" + std::string(s) + "\""); }
    void Write(std::integral auto v, const auto&) { Add(std::to_string(v)); }
    void Write(double v, const auto& f) {
        if (!std::isfinite(v)) throw ObsFileError(What(f.label) + "の数値が正しくありません。");
        Add(FormatDouble(v));
    }
    void Write(const std::string& s, const auto& f) {
        if (s.find_first_of("\"\r\n") != std::string::npos) throw ObsFileError(What(f.label) + "に" + kFaultText);
        if (!IsCp932Encodable(s)) throw ObsFileError(What(f.label) + "にシフトJISで保存できない文字があります。");
        Key(s);
    }
    void Write(Date d, const auto& f) {
        if (d.serial != 0 && !d.IsValid()) throw ObsFileError(What(f.label) + "の日付が正しくありません。");
        Add(d.Text("#%04d-%02d-%02d#"));
    }
    void EndLine() {
        out_.Line(line_);
        line_.clear();
    }

private:
    // No item is empty, so an empty line has none yet.
    void Add(std::string_view item) {
        if (!line_.empty()) line_ += ',';
        line_ += item;
    }
    std::string What(const char* label) const {
        if (where.empty()) return label;
        return *label ? where + "の" + label : where;
    }
    TextFileBuilder& out_;
    std::string line_;
};

// ---- reading ---------------------------------------------------------------

bool ParseDate(std::string_view s, Date& out) {
    if (s.size() < 2 || s.front() != '#' || s.back() != '#') return false;
    s = s.substr(1, s.size() - 2);
    int ymd[3];
    for (int i = 0; i < 3; ++i) {
        std::size_t stop = i < 2 ? s.find('-') : s.size();
        if (stop == std::string_view::npos || stop == 0) return false;
        auto res = std::from_chars(s.data(), s.data() + stop, ymd[i]);
        if (res.ec != std::errc() || res.ptr != s.data() + stop) return false;
        s.remove_prefix(i < 2 ? stop + 1 : stop);
    }
    auto d = Date::FromYmd(ymd[0], ymd[1], ymd[2]);
    if (!d || (d->serial != 0 && !d->IsValid())) return false;
    out = *d;
    return true;
}

constexpr const char* kBadDate = "日付が正しく読めません。";

// Reads the key lines of the file: each line exactly the items its rows
// ask for (and its key), each checked against the table of limits
// (integers before they are narrowed). Every fault names the line and
// what is wrong.
class LineIn {
public:
    explicit LineIn(FieldFile& f) : f_(f) {}

    void Line(const auto& first, int n) {
        if (!first.at) {  // the column heading, not a description of the rows
            f_.WholeLine();
            return;
        }
        line_.emplace(f_.NextLine());
        items_.clear();
        for (int i = 0; i < n + first.HasKey(); ++i) items_.push_back(line_->Field());
        line_->End();
        next_ = first.HasKey();
    }
    void Read(std::int16_t& v, const auto& f) {
        auto n = CheckedInt16(f.limit, Int());
        if (!n) Fail(LimitFileText(f.limit));
        v = *n;
        if (f.max) v = static_cast<std::int16_t>(f_.Count(*line_, v, 0, f.max, ItemName(f.limit)));
    }
    void Read(std::int32_t& v, const auto& f) {
        auto n = CheckedInt32(f.limit, Int());
        if (!n) Fail(LimitFileText(f.limit));
        v = *n;
    }
    void Read(double& v, const auto& f) {
        if (!ParseReal(items_[next_++], v)) Fail(kFaultNumber);
        if (!WithinLimit(f.limit, v)) Fail(LimitFileText(f.limit));
    }
    // A text the writer could not write back is refused here already.
    void Read(std::string& v, const auto& f) {
        v = items_[next_++];
        if (!IsStorableText(v)) Fail(std::string(f.label) + "に" + kFaultText);
    }
    void Read(Date& v, const auto&) {
        if (!ParseDate(items_[next_++], v)) Fail(kBadDate);
    }
    [[noreturn]] void Fail(std::string_view reason) const { line_->Fail(reason); }

private:
    long long Int() {
        long long v;
        if (!ParseInt(items_[next_++], INT32_MIN, INT32_MAX, v)) Fail(kFaultNumber);
        return v;
    }
    FieldFile& f_;
    std::optional<LineFields> line_;
    std::vector<std::string> items_;
    std::size_t next_ = 0;
};

// ---- the field lists ------------------------------------------------------

// A key line starts at each row with a key; a row of observations has none.
template <class R>
using FileItem = Field<R, Item, std::int16_t, std::int32_t, double, std::string, Date>;

constexpr FileItem<ObsSettings> kVersionItems[] = {{At<&ObsSettings::FileVer>, Item::ObsFileVersion, "FileVer"}};

constexpr FileItem<ObsSettings> kSettingsItems[] = {
    {At<&ObsSettings::JobTitle>, {}, "業務名称", "業務名称"},
    {At<&ObsSettings::StationCount>, Item::ObsStationCount, "測定箇所数", "", kMaxStations},
    {At<&ObsSettings::SettlementOption>, Item::ObsSettlementOption, "沈下オプション"},
    {At<&ObsSettings::TimeAxisMode>, Item::ObsTimeAxisMode, "時間軸表記"},
    {At<&ObsSettings::LeaveDays>, Item::ObsLeaveDays, "経過日数(日)"},
    {At<&ObsSettings::TargetPercent>, Item::ObsTargetPercent, "最終沈下量に対する割合(%)", "最終沈下量に対する割合"},
    {At<&ObsSettings::ResidualSettlement>, Item::ObsResidualSettlement, "残留沈下量(m)", "残留沈下量"},
    {At<&ObsSettings::EndConditionPercent>, Item::ObsEndConditionPercent, "終了条件", "終了条件"},
    {At<&ObsSettings::RoundingMethod>, Item::ObsRoundingMethod, "丸め方法(1:四捨五入、2:五捨五入)"},
};

constexpr FileItem<StationRecord> kStationItems[] = {
    {At<&StationRecord::Name>, {}, "名称", "名称"},
    {At<&StationRecord::Count>, Item::ObsCount, "測定件数", "", kMaxObservations},
    {At<&StationRecord::Sa>, Item::ObsFitRow, "S-Sa"},
    {At<&StationRecord::SaPrime>, Item::ObsFitRow},
    // The column heading, not a description of the rows.
    {nullptr, {}, "年月日,沈下量(m),盛土高(m)"},
};

// One observation row of a station.
constexpr FileItem<TableRow<StationRecord>> kRowItems[] = {
    {Column<&StationRecord::ObsDate>},
    {Column<&StationRecord::Settlement>, Item::ObsSettlement, nullptr, "沈下量"},
    {Column<&StationRecord::Remark>, {}, nullptr, "備考"},
    {Column<&StationRecord::SW>, Item::ObsSwitch},
};

static_assert(kObsFileVersion == HighestSince(kVersionItems, kSettingsItems, kStationItems, kRowItems),
              "kObsFileVersion is the highest since of the field lists");

void ParseDataFile(FieldFile& f, ObsDataSet& d) {
    d = ObsDataSet{};
    LineIn in(f);
    ReadRecord(in, kVersionItems, d);
    if (d.FileVer < 1 || d.FileVer > kObsFileVersion) in.Fail(kFaultVersion);
    const int version = d.FileVer;
    ReadRecord(in, kSettingsItems, d, version);
    f.WholeLine();  // the empty separator line
    for (int k = 1; k <= d.StationCount; ++k) {
        StationRecord& s = d.Stations[k];
        ReadRecord(in, kStationItems, s, version);
        s.ResizeRows(s.Count);
        for (std::size_t i = 1; i <= static_cast<std::size_t>(s.Count); ++i) {
            TableRow<StationRecord> row{s, i};
            ReadRecord(in, kRowItems, row, version);
        }
    }
}

}  // namespace

// ---- dates -------------------------------------------------------------------

std::optional<Date> Date::FromYmd(int y, int m, int d) {
    year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || !ymd.ok()) return std::nullopt;
    return Date{static_cast<std::int32_t>((sys_days{ymd} - kSerialEpoch).count())};
}

void Date::Ymd(int& y, int& m, int& d) const {
    year_month_day ymd{kSerialEpoch + days{serial}};
    y = static_cast<int>(ymd.year());
    m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    d = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

std::string Date::Text(const char* format) const {
    int y, m, d;
    Ymd(y, m, d);
    return CFormat(format, y, m, d);
}

bool Date::IsValid() const {
    static const std::int32_t lo = FromYmd(100, 1, 1)->serial;
    static const std::int32_t hi = FromYmd(9999, 12, 31)->serial;
    return serial != 0 && serial >= lo && serial <= hi;
}

// ---- data set ----------------------------------------------------------------

void StationRecord::ResizeRows(int count) {
    std::size_t n = static_cast<std::size_t>(count) + 1;
    ObsDate.resize(n, Date{});
    Settlement.resize(n, 0.0);
    Remark.resize(n);
    SW.resize(n, 0);
    Count = static_cast<std::int16_t>(count);
}

void InitNewData(ObsDataSet& data, const WindowResetHook& resetWindow) {
    static_cast<ObsSettings&>(data) = ObsSettings{};
    for (int k = 1; k <= kMaxStations; ++k) data.Stations[k] = StationRecord{};
    if (resetWindow) resetWindow();
}

std::filesystem::path DataFilePath(const std::filesystem::path& chosen) {
    if (chosen.has_extension()) return chosen;
    std::filesystem::path p = chosen;
    p += ".tlm";
    return p;
}

// ---- the file ----------------------------------------------------------------

std::string DataFileText(const ObsDataSet& d) {
    if (d.StationCount < 0 || d.StationCount > kMaxStations) throw ObsFileError("測定箇所数が正しくありません。");
    TextFileBuilder out;
    out.Line(ListLine().Str("FileVer").Int(kObsFileVersion).Text());
    LineOut w(out);
    // The lists serve reading as well; writing changes nothing.
    WriteRecord(w, kSettingsItems, const_cast<ObsDataSet&>(d));
    out.Line("");
    for (int k = 1; k <= d.StationCount; ++k) {
        StationRecord& s = const_cast<StationRecord&>(d.Stations[k]);
        const std::string station = "観測所" + std::to_string(k);
        if (s.Count < 0 || s.Count > kMaxObservations || s.ObsDate.size() <= std::size_t(s.Count) ||
            s.Settlement.size() <= std::size_t(s.Count) || s.Remark.size() <= std::size_t(s.Count) ||
            s.SW.size() <= std::size_t(s.Count))
            throw ObsFileError(station + "の測定件数が正しくありません。");
        w.where = station;
        WriteRecord(w, kStationItems, s);
        for (std::size_t i = 1; i <= static_cast<std::size_t>(s.Count); ++i) {
            TableRow<StationRecord> row{s, i};
            w.where = station + "の" + std::to_string(i) + "行目";
            WriteRecord(w, kRowItems, row);
        }
    }
    return out.Utf8();
}

void WriteDataFile(const ObsDataSet& data, const std::filesystem::path& file) {
    std::string text = DataFileText(data);
    // What the reader would refuse is never written: a saved file must open
    // again. The reader itself decides, on the bytes as written, beside the
    // file; only a file it took replaces the old one.
    std::filesystem::path trial = file;
    trial += ".new";
    std::error_code ec;
    try {
        WriteCp932FileAtomic(trial, text);
    } catch (const TextError&) {
        std::filesystem::remove(trial, ec);
        throw ObsFileError("");
    }
    try {
        (void)ReadDataFile(trial);
    } catch (const ObsFileError&) {
        std::filesystem::remove(trial, ec);
        throw;
    }
    std::filesystem::rename(trial, file, ec);
    if (ec) {
        std::filesystem::remove(trial, ec);
        throw ObsFileError("");
    }
}

ObsDataSet ReadDataFile(const std::filesystem::path& file) {
    ObsDataSet d;
    try {
        // A line per observation of every station and a few per station,
        // none near 1 KB; twice that is the margin.
        constexpr std::uintmax_t kMaxBytes = 2u * 1024u * (kMaxStations * (kMaxObservations + 16u) + 64u);
        const std::string text = DecodeCp932Text(ReadFileBytes(file, kMaxBytes));
        ReadFields(text, [&](FieldFile& f) { ParseDataFile(f, d); });
    } catch (const FileFault& bad) {
        throw ObsFileError(bad.what());
    }
    return d;
}

// ---- snapshots ---------------------------------------------------------------

std::filesystem::path SnapshotPath(const std::filesystem::path& appPath, std::string_view name) {
    return appPath / ("KOVA_TLM." + std::string(name));
}

void WriteSnapshot(const ObsDataSet& data, const std::filesystem::path& appPath, std::string_view name) {
    WriteDataFile(data, SnapshotPath(appPath, name));
}

bool SnapshotsDiffer(const std::filesystem::path& appPath, std::string_view a, std::string_view b) {
    std::string ta, tb;
    if (ReadWholeFile(SnapshotPath(appPath, a), ta) != ReadFault::None ||
        ReadWholeFile(SnapshotPath(appPath, b), tb) != ReadFault::None)
        return true;
    return SplitLines(ta) != SplitLines(tb);
}

// ---- commands ----------------------------------------------------------------

std::string ReadFailureText(const std::filesystem::path& file, std::string_view detail) {
    std::string t = "ﾃﾞｰﾀﾌｧｲﾙ(" + file.filename().string() + ")が読み込み出来ません。";
    if (!detail.empty()) t += "\r" + std::string(detail);
    return t;
}

std::string WriteFailureText(const std::filesystem::path& file, std::string_view detail) {
    std::string t = "ﾃﾞｰﾀﾌｧｲﾙ(" + file.filename().string() + ")に書き込み出来ません。";
    if (!detail.empty()) t += "\r" + std::string(detail);
    return t;
}

bool LoadDataFile(ObsDataSet& data, const std::filesystem::path& file, MessageSink& messages,
                  const WindowResetHook& resetWindow) {
    ObsDataSet loaded;
    try {
        loaded = ReadDataFile(file);
    } catch (const ObsFileError& e) {
        messages.Notify(ReadFailureText(file, e.what()), MsgIcon::Exclamation);
        return false;
    }
    loaded.Stations[0] = std::move(data.Stations[0]);
    data = std::move(loaded);
    if (resetWindow) resetWindow();
    return true;
}

bool SaveDataFile(const ObsDataSet& data, const std::filesystem::path& file, MessageSink& messages) {
    try {
        WriteDataFile(data, file);
    } catch (const ObsFileError& e) {
        messages.Notify(WriteFailureText(file, e.what()), MsgIcon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace kova::predict
