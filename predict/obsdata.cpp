#include "predict/obsdata.hpp"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <span>
#include <variant>

#include "rules/limits.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
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

std::string FormatDate(Date d) {
    int y, m, dd;
    d.Ymd(y, m, dd);
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%04d-%02d-%02d#", y, m, dd);
    return buf;
}

class LineWriter {
public:
    LineWriter& Text(std::string_view s, const std::string& what) {
        if (s.find_first_of("\"\r\n") != std::string_view::npos) throw ObsFileError(what + "に" + kFaultText);
        if (!IsCp932Encodable(s)) throw ObsFileError(what + "にシフトJISで保存できない文字があります。");
        Sep();
        line_ += '"';
        line_ += s;
        line_ += '"';
        return *this;
    }
    LineWriter& Key(std::string_view s) {
        Sep();
        line_ += '"';
        line_ += s;
        line_ += '"';
        return *this;
    }
    LineWriter& Int(long long v) {
        Sep();
        line_ += std::to_string(v);
        return *this;
    }
    LineWriter& Real(double v, const std::string& what) {
        if (!std::isfinite(v)) throw ObsFileError(what + "の数値が正しくありません。");
        Sep();
        line_ += FormatDouble(v);
        return *this;
    }
    LineWriter& DateItem(Date d, const std::string& what) {
        if (d.serial != 0 && !d.IsValid()) throw ObsFileError(what + "の日付が正しくありません。");
        Sep();
        line_ += FormatDate(d);
        return *this;
    }
    void End(TextFileBuilder& out) {
        out.Line(line_);
        line_.clear();
        first_ = true;
    }

private:
    void Sep() {
        if (!first_) line_ += ',';
        first_ = false;
    }
    std::string line_;
    bool first_ = true;
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

// One list line of the file: exactly the items asked for, each checked
// against the table of limits (integers before they are narrowed). Every
// fault names the line and what is wrong.
class Items {
public:
    Items(FieldFile& f, int n) : f_(f.NextLine()) {
        for (int i = 0; i < n; ++i) items_.push_back(f_.Field());
        f_.End();
    }
    const std::string& operator[](std::size_t i) const { return items_[i]; }
    const LineFields& Fields() const { return f_; }

    long long Int(std::size_t i) const {
        long long v;
        if (!ParseInt(items_[i], INT32_MIN, INT32_MAX, v)) f_.Fail(kFaultNumber);
        return v;
    }
    std::int16_t Int16(std::size_t i, Item item) const {
        auto n = CheckedInt16(item, Int(i));
        if (!n) f_.Fail(LimitFileText(item));
        return *n;
    }
    std::int32_t Int32(std::size_t i, Item item) const {
        auto n = CheckedInt32(item, Int(i));
        if (!n) f_.Fail(LimitFileText(item));
        return *n;
    }
    double Real(std::size_t i, Item item) const {
        double v;
        if (!ParseReal(items_[i], v)) f_.Fail(kFaultNumber);
        if (!WithinLimit(item, v)) f_.Fail(LimitFileText(item));
        return v;
    }
    // A text the writer could not write back is refused here already.
    std::string Text(std::size_t i, const char* what) const {
        if (!IsStorableText(items_[i])) f_.Fail(std::string(what) + "に" + kFaultText);
        return items_[i];
    }
    Date DateValue(std::size_t i) const {
        Date d;
        if (!ParseDate(items_[i], d)) f_.Fail(kBadDate);
        return d;
    }

private:
    LineFields f_;
    std::vector<std::string> items_;
};

// ---- the field lists ------------------------------------------------------

// The file's version as this program writes it: the highest `since` of the
// lists below. A file of a later version is refused, not misread.
constexpr int kObsFileVersion = 1;

enum class Kind { Int, Real, Text, Date, Count, Heading };
using Ref = std::variant<std::int16_t*, std::int32_t*, double*, std::string*, Date*>;

// One item of a record in the file, read and written from this one row. An
// item with a key starts a line ("key",value); one without continues the
// line before it (a row of observations has no key at all). `since`: the
// file version that brought the item; an older file lacks it, which keeps
// its default.
template <class R>
struct FileItem {
    const char* key;
    const char* label;  // what a fault names
    Kind kind;
    Item item;  // the limit of a number or count
    Ref (*at)(R&);
    int max = 0;  // a count's highest value
    int since = 1;
};

// Where a member of a record lives, as a list row names it.
template <class>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
    using Record = C;
};
template <auto M>
Ref At(typename MemberOf<decltype(M)>::Record& r) {
    return &(r.*M);
}

// One observation row of a station.
struct Row {
    StationRecord* s;
    std::size_t i;
};

const FileItem<ObsSettings> kSettingsItems[] = {
    {"業務名称", "業務名称", Kind::Text, {}, At<&ObsSettings::JobTitle>},
    {"測定箇所数", "", Kind::Count, Item::ObsStationCount, At<&ObsSettings::StationCount>, kMaxStations},
    {"沈下オプション", "", Kind::Int, Item::ObsSettlementOption, At<&ObsSettings::SettlementOption>},
    {"時間軸表記", "", Kind::Int, Item::ObsTimeAxisMode, At<&ObsSettings::TimeAxisMode>},
    {"経過日数(日)", "", Kind::Int, Item::ObsLeaveDays, At<&ObsSettings::LeaveDays>},
    {"最終沈下量に対する割合(%)", "最終沈下量に対する割合", Kind::Real, Item::ObsTargetPercent,
     At<&ObsSettings::TargetPercent>},
    {"残留沈下量(m)", "残留沈下量", Kind::Real, Item::ObsResidualSettlement, At<&ObsSettings::ResidualSettlement>},
    {"終了条件", "終了条件", Kind::Real, Item::ObsEndConditionPercent, At<&ObsSettings::EndConditionPercent>},
    {"丸め方法(1:四捨五入、2:五捨五入)", "", Kind::Int, Item::ObsRoundingMethod, At<&ObsSettings::RoundingMethod>},
};

const FileItem<StationRecord> kStationItems[] = {
    {"名称", "名称", Kind::Text, {}, At<&StationRecord::Name>},
    {"測定件数", "", Kind::Count, Item::ObsCount, At<&StationRecord::Count>, kMaxObservations},
    {"S-Sa", "", Kind::Int, Item::ObsFitRow, At<&StationRecord::Sa>},
    {nullptr, "", Kind::Int, Item::ObsFitRow, At<&StationRecord::SaPrime>},
    // The column heading, not a description of the rows.
    {"年月日,沈下量(m),盛土高(m)", "", Kind::Heading, {}, nullptr},
};

const FileItem<Row> kRowItems[] = {
    {nullptr, "", Kind::Date, {}, [](Row& r) -> Ref { return &r.s->ObsDate[r.i]; }},
    {nullptr, "沈下量", Kind::Real, Item::ObsSettlement, [](Row& r) -> Ref { return &r.s->Settlement[r.i]; }},
    {nullptr, "備考", Kind::Text, {}, [](Row& r) -> Ref { return &r.s->Remark[r.i]; }},
    {nullptr, "", Kind::Int, Item::ObsSwitch, [](Row& r) -> Ref { return &r.s->SW[r.i]; }},
};

// Where a line of the list starts and ends: the item at k and those after it
// without a key.
template <class R>
std::size_t LineEnd(std::span<const FileItem<R>> list, std::size_t k) {
    std::size_t end = k + 1;
    while (end < list.size() && !list[end].key) ++end;
    return end;
}

template <class R>
void ReadItem(FieldFile& f, const Items& line, std::size_t at, const FileItem<R>& it, R& r) {
    const Ref ref = it.at(r);
    switch (it.kind) {
    case Kind::Int:
        if (auto* p = std::get_if<std::int16_t*>(&ref)) **p = line.Int16(at, it.item);
        else *std::get<std::int32_t*>(ref) = line.Int32(at, it.item);
        break;
    case Kind::Count:
        *std::get<std::int16_t*>(ref) =
            static_cast<std::int16_t>(f.Count(line.Fields(), line.Int16(at, it.item), 0, it.max, ItemName(it.item)));
        break;
    case Kind::Real: *std::get<double*>(ref) = line.Real(at, it.item); break;
    case Kind::Text: *std::get<std::string*>(ref) = line.Text(at, it.label); break;
    case Kind::Date: *std::get<Date*>(ref) = line.DateValue(at); break;
    case Kind::Heading: break;
    }
}

// Reads the lines of one record, each with the items a file of `version`
// holds.
template <class R>
void ReadRecord(FieldFile& f, std::span<const FileItem<R>> list, R& r, int version) {
    for (std::size_t k = 0, end; k < list.size(); k = end) {
        end = LineEnd(list, k);
        if (list[k].since > version) continue;  // a line the file's version lacks
        if (list[k].kind == Kind::Heading) {
            f.WholeLine();
            continue;
        }
        int n = list[k].key ? 1 : 0;
        for (std::size_t j = k; j < end; ++j) n += list[j].since <= version;
        const Items line(f, n);
        std::size_t at = list[k].key ? 1 : 0;
        for (std::size_t j = k; j < end; ++j)
            if (list[j].since <= version) ReadItem(f, line, at++, list[j], r);
    }
}

// A writer's fault names the record (`where`) and the item.
std::string What(const std::string& where, const char* label) {
    if (where.empty()) return label;
    return *label ? where + "の" + label : where;
}

template <class R>
void WriteRecord(LineWriter& w, TextFileBuilder& out, std::span<const FileItem<R>> list, R& r,
                 const std::string& where) {
    for (std::size_t k = 0; k < list.size(); ++k) {
        const FileItem<R>& it = list[k];
        if (it.key && k > 0) w.End(out);
        if (it.key) w.Key(it.key);
        if (it.kind == Kind::Heading) continue;
        const Ref ref = it.at(r);
        switch (it.kind) {
        case Kind::Int:
        case Kind::Count:
            if (auto* p = std::get_if<std::int16_t*>(&ref)) w.Int(**p);
            else w.Int(*std::get<std::int32_t*>(ref));
            break;
        case Kind::Real: w.Real(*std::get<double*>(ref), What(where, it.label)); break;
        case Kind::Text: w.Text(*std::get<std::string*>(ref), What(where, it.label)); break;
        case Kind::Date: w.DateItem(*std::get<Date*>(ref), What(where, it.label)); break;
        case Kind::Heading: break;
        }
    }
    w.End(out);
}

void ParseDataFile(FieldFile& f, ObsDataSet& d) {
    d = ObsDataSet{};
    {
        const Items ver(f, 2);
        d.FileVer = ver.Int16(1, Item::ObsFileVersion);
        if (d.FileVer < 1 || d.FileVer > kObsFileVersion) ver.Fields().Fail(kFaultVersion);
    }
    const int version = d.FileVer;
    ReadRecord<ObsSettings>(f, kSettingsItems, d, version);
    f.WholeLine();  // the empty separator line
    for (int k = 1; k <= d.StationCount; ++k) {
        StationRecord& s = d.Stations[k];
        ReadRecord<StationRecord>(f, kStationItems, s, version);
        s.ResizeRows(s.Count);
        for (std::size_t i = 1; i <= static_cast<std::size_t>(s.Count); ++i) {
            Row row{&s, i};
            ReadRecord<Row>(f, kRowItems, row, version);
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
    LineWriter w;
    w.Key("FileVer").Int(kObsFileVersion).End(out);
    // The lists serve reading as well; writing changes nothing.
    WriteRecord<ObsSettings>(w, out, kSettingsItems, const_cast<ObsDataSet&>(d), "");
    out.Line("");
    for (int k = 1; k <= d.StationCount; ++k) {
        StationRecord& s = const_cast<StationRecord&>(d.Stations[k]);
        const std::string station = "観測所" + std::to_string(k);
        if (s.Count < 0 || s.Count > kMaxObservations || s.ObsDate.size() <= std::size_t(s.Count) ||
            s.Settlement.size() <= std::size_t(s.Count) || s.Remark.size() <= std::size_t(s.Count) ||
            s.SW.size() <= std::size_t(s.Count))
            throw ObsFileError(station + "の測定件数が正しくありません。");
        WriteRecord<StationRecord>(w, out, kStationItems, s, station);
        for (std::size_t i = 1; i <= static_cast<std::size_t>(s.Count); ++i) {
            Row row{&s, i};
            WriteRecord<Row>(w, out, kRowItems, row, station + "の" + std::to_string(i) + "行目");
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
        const std::string text = DecodeCp932Text(ReadFileBytes(file));
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
    auto readBytes = [](const std::filesystem::path& p, std::string& out) {
        std::FILE* f = std::fopen(p.c_str(), "rb");
        if (!f) return false;
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        bool ok = std::ferror(f) == 0;
        std::fclose(f);
        return ok;
    };
    std::string ta, tb;
    if (!readBytes(SnapshotPath(appPath, a), ta) || !readBytes(SnapshotPath(appPath, b), tb)) return true;
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
