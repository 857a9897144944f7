#include "model/projectfile.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "rules/limits.hpp"
#include "model/reset.hpp"
#include "textio/cformat.hpp"
#include "textio/listline.hpp"
#include "model/linebuilder.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/fieldlist.hpp"
#include "textio/textfile.hpp"

namespace kova {

namespace {

constexpr const char* kWriteProjectMsg = "条件ﾌｧｲﾙ(.KOV)に書き込み出来ません。";
constexpr const char* kWriteSnapshotMsg = "計算用条件ﾌｧｲﾙ(KOVA_JKN)に書き込み出来ません。";
constexpr const char* kReadProjectMsg = "条件ﾌｧｲﾙ(.KOV)が読み込み出来ません。";
// The fullest section the tables hold writes a line for every point, every
// boundary and cut line, every vertex of every block, every curve row and a
// thousand more for the rest, none near 1 KB; twice that is far beyond any
// project file, and a larger one is refused unread.
constexpr std::uintmax_t kMaxProjectBytes =
    2u * 1024u *
    (kMaxBndPts + 2u * kMaxLines + 3u * kMaxBlocks * (kMaxVertices + 2u) +
     (3u * kMaxBlocks + kSandCurves) * (kMaxCurvePts + 1u) + 1000u);

constexpr int kTitleBlanks = 64;
constexpr int kNameBlanks = 30;

std::string TrimSpaces(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

std::string Without(std::string s, std::string_view chars) {
    std::string out;
    for (char c : s)
        if (chars.find(c) == std::string_view::npos) out += c;
    return out;
}

// A text line holds the text unchanged, so it must not break the line.
std::string CleanTextLine(const std::string& s) { return TrimSpaces(Without(s, "\r\n")); }

void CheckCount(int count, int limit) {
    if (count < 0 || count > limit) throw std::invalid_argument("count beyond the editors' limit");
}

// A count line, for a count the table can hold.
void CountLine(LineBuilder& out, int count, int limit) {
    CheckCount(count, limit);
    out.Line(ListLine().Int(count));
}

// One value of a record, read and written from this one row: where it
// lives and its limit. A record's values stand on one line, in the list's
// order; a row with a key ("", none written) starts a line of its own.
template <class R>
using CondItem = Field<R, Item, i16, double, std::string>;

// Row k of a table its owner keeps as parallel arrays, a record of its own.
template <class T>
struct Row {
    T& owner;
    int k;
};

// A row's `at` for one array of such a table: Column<&Owner::Array>.
template <auto M>
struct ColumnAt {
    template <class Ref, class T>
    using Fn = Ref (*)(Row<T>&);
    template <class Ref, class T>
    constexpr operator Fn<Ref, T>() const {
        return [](Row<T>& r) -> Ref { return &(r.owner.*M)[static_cast<std::size_t>(r.k)]; };
    }
};
template <auto M>
inline constexpr ColumnAt<M> Column{};

// A position's name has no limit of its own: the reader checks its text.
constexpr CondItem<Row<StudyCond>> kPositionItems[] = {
    {Column<&StudyCond::CalcPosName>},
    {Column<&StudyCond::CalcPosX>, Item::X},
};

constexpr CondItem<StudyCond> kCondItems[] = {
    {At<&StudyCond::MvPMethod>, Item::MvPMethod, ""},
    {At<&StudyCond::CvPMethod>, Item::CvPMethod, ""},
    {At<&StudyCond::UseCutPreload>, Item::UseCutPreload, ""},
    {At<&StudyCond::UseSandImmediate>, Item::UseSandImmediate, ""},
    {At<&StudyCond::ResidualSettlement>, Item::ResidualSettlement, ""},
    {At<&StudyCond::TimeCondKind>, Item::TimeCondKind, ""},
    {At<&StudyCond::AutoScaleXY>, Item::AutoScaleXY, ""},
};

constexpr CondItem<Row<SoilBlock>> kVertexItems[] = {
    {Column<&SoilBlock::PX>, Item::X},
    {Column<&SoilBlock::PY>, Item::Y},
};

constexpr CondItem<BoundaryPoint> kPointItems[] = {
    {At<&BoundaryPoint::X>, Item::X},
    {At<&BoundaryPoint::Y>, Item::Y},
};

// A block after its name line; the count of its vertices ends it.
constexpr CondItem<SoilBlock> kBlockItems[] = {
    {At<&SoilBlock::CX>, Item::X},
    {At<&SoilBlock::CY>, Item::Y},
    {At<&SoilBlock::UnitWeight>, Item::UnitWeight, ""},
    {At<&SoilBlock::Stage>, Item::Stage, ""},
    {At<&SoilBlock::nPt>, Item::VertexCount, "", "構成点数", kMaxVertices},
};

constexpr CondItem<SoilParamRec> kSoilParamItems[] = {
    {At<&SoilParamRec::SoilType>, Item::SoilType},
    {At<&SoilParamRec::SettleMethod>, Item::SettleMethod},
    {At<&SoilParamRec::Drainage>, Item::Drainage},
    {At<&SoilParamRec::C1>, Item::CompressionIndex},
    {At<&SoilParamRec::NValue>, Item::NValue},
};

// The load's own limit depends on its kind (point, line, strip).
std::array<CondItem<LoadRec>, 6> LoadItems(Item load) {
    return {{{At<&LoadRec::X1>, Item::X},
             {At<&LoadRec::Y1>, Item::Y},
             {At<&LoadRec::X2>, Item::X},
             {At<&LoadRec::Y2>, Item::Y},
             {At<&LoadRec::Load>, load},
             {At<&LoadRec::Stage>, Item::Stage}}};
}

// A curve's limits depend on its kind.
std::array<CondItem<Row<CurveTable>>, 2> CurveItems(Item pressure, Item value) {
    return {{{Column<&CurveTable::X>, pressure}, {Column<&CurveTable::Y>, value}}};
}

// Stage s in row s-1.
constexpr CondItem<Row<Model>> kStageItems[] = {
    {Column<&Model::StageStartDay>, Item::StageStartDay},
    {Column<&Model::StageDays>, Item::StageDays},
};

constexpr CondItem<BoundaryLine> kLineItems[] = {
    {At<&BoundaryLine::pt1>, Item::LineEnd},
    {At<&BoundaryLine::pt2>, Item::LineEnd},
};

template <DrainDetail K>
CondItem<DrainMethodRec>::Ref DetailAt(DrainMethodRec& d) {
    return &d.Detail[K];
}

// Before version 3 only d, dw, alpha and Kc/kw were kept: such a file keeps
// the defaults, no sand compaction piles (n = 0, as = 0) and no reduction.
constexpr CondItem<DrainMethodRec> kDrainItems[] = {
    {At<&DrainMethodRec::Method>, Item::DrainMethod},
    {DetailAt<kSpacing>, Item::DrainSpacing},
    {DetailAt<kDiameter>, Item::DrainDiameter},
    {DetailAt<kAlpha>, Item::DrainAlpha},
    {DetailAt<kPermRatio>, Item::PermRatio},
    {.at = DetailAt<kShareRatio>, .limit = Item::ShareRatio, .since = 3},
    {.at = DetailAt<kReplaceRatio>, .limit = Item::ReplaceRatio, .since = 3},
    {.at = DetailAt<kReductionFactor>, .limit = Item::ReductionFactor, .since = 3},
};
static_assert(kCondFileVersion == HighestSince(kPositionItems, kCondItems, kPointItems, kVertexItems, kBlockItems,
                                               kSoilParamItems, kStageItems, kLineItems, kDrainItems),
              "the writer writes the latest version its fields know");

constexpr CondItem<SheetPileRec> kSheetPileItems[] = {
    {At<&SheetPileRec::X>, Item::X},
    {At<&SheetPileRec::Top>, Item::Y},
    {At<&SheetPileRec::Bottom>, Item::Y},
};

// Writes a record's values as list lines.
class ListOut {
public:
    explicit ListOut(LineBuilder& out) : out_(out) {}
    void Key(std::string_view k) { l_.Str(k); }
    void Write(i16 v, const auto& f) {
        if (f.max) CheckCount(v, f.max);
        l_.Int(v);
    }
    void Write(double v, const auto&) { l_.Real(v); }
    void Write(const std::string& v, const auto&) { l_.Str(v); }
    void EndLine() {
        out_.Line(l_);
        l_ = ListLine();
    }

private:
    LineBuilder& out_;
    ListLine l_;
};

// The first n rows of a table of parallel arrays, a line each.
template <class T, class List>
void WriteRows(LineBuilder& out, const List& list, T& owner, int n) {
    for (int k = 0; k < n; ++k) {
        Row<T> row{owner, k};
        WriteRecord(ListOut(out), list, row);
    }
}

void WriteBlock(LineBuilder& out, SoilBlock& b) {
    b.Name = CleanTextLine(b.Name);
    out.Line(b.Name.empty() ? std::string(kNameBlanks, ' ') : b.Name);
    WriteRecord(ListOut(out), kBlockItems, b);
    WriteRows(out, kVertexItems, b, b.nPt);
}

void WriteCurve(LineBuilder& out, CurveTable& c) {
    CountLine(out, c.n, kMaxCurvePts);
    WriteRows(out, CurveItems(Item::X, Item::Y), c, c.n);  // the limits do not matter to the writer
}

void WriteLines(LineBuilder& out, const Model& m, std::array<BoundaryLine, kMaxLines + 1>& lines, i16 count) {
    CountLine(out, count, kMaxLines);
    for (int i = 0; i < count; ++i) {
        for (i16 pt : {lines[i].pt1, lines[i].pt2})
            if (pt < 0 || pt >= m.BndPtCount) throw std::invalid_argument("line end names no point");
        WriteRecord(ListOut(out), kLineItems, lines[i]);
    }
}

void WriteLoads(LineBuilder& out, std::array<LoadRec, kMaxLoads + 1>& loads, i16 count) {
    CountLine(out, count, kMaxLoads);
    const auto items = LoadItems(Item::X);  // the limits do not matter to the writer
    for (int i = 0; i < count; ++i) WriteRecord(ListOut(out), items, loads[i]);
}

}  // namespace

std::filesystem::path SnapshotPath(const std::filesystem::path& appPath, std::string_view kind) {
    return appPath / ("KOVA_JKN." + std::string(kind));
}

std::filesystem::path ProjectFilePath(const std::filesystem::path& chosen) {
    std::filesystem::path p = chosen;
    if (!p.has_extension()) p += ".kov";
    return p;
}

namespace {

std::string FormatCondText(Model& m) {
    StudyCond& c = m.Cond;
    LineBuilder out;
    out.Line(CFormat("%06d", kCondFileVersion));
    c.ProjectTitle = CleanTextLine(c.ProjectTitle);
    out.Line(c.ProjectTitle.empty() ? std::string(kTitleBlanks, ' ') : c.ProjectTitle);
    out.Line(ListLine().Int(c.LeavePeriod));
    CountLine(out, m.CalcPosCount, kMaxCalcPos);
    // A quote inside a quoted item would end it early on reading.
    for (int i = 0; i < m.CalcPosCount; ++i) c.CalcPosName[i] = Without(c.CalcPosName[i], "\"\r\n");
    WriteRows(out, kPositionItems, c, m.CalcPosCount);
    WriteRecord(ListOut(out), kCondItems, c);

    CountLine(out, m.BndPtCount, kMaxBndPts);
    for (int i = 0; i < m.BndPtCount; ++i) WriteRecord(ListOut(out), kPointItems, m.BndPt[i]);
    WriteLines(out, m, m.BndLine, m.BndLineCount);
    WriteLines(out, m, m.CutLine, m.CutLineCount);

    CountLine(out, m.EmbankmentCount, kMaxBlocks);
    for (int i = 0; i < m.EmbankmentCount; ++i) WriteBlock(out, m.Embankment[i]);
    CountLine(out, m.SoilLayerCount, kMaxBlocks);
    for (int i = 0; i < m.SoilLayerCount; ++i) WriteBlock(out, m.SoilLayer[i]);
    CountLine(out, m.CutCount, kMaxBlocks);
    for (int i = 0; i < m.CutCount; ++i) WriteBlock(out, m.CutBlock[i]);

    out.Line(ListLine().Int(m.SoilLayerCount));
    for (int i = 0; i < m.SoilLayerCount; ++i) {
        WriteCurve(out, m.ELogPCurve[i]);
        WriteCurve(out, m.MvCurve[i]);
        WriteCurve(out, m.CvCurve[i]);
    }
    for (int d = 0; d < kSandCurves; ++d) WriteCurve(out, m.BKHoughCurve[d]);

    out.Line(ListLine().Int(m.SoilLayerCount));
    for (int i = 0; i < m.SoilLayerCount; ++i) WriteRecord(ListOut(out), kSoilParamItems, m.SoilParam[i]);

    CheckCount(m.StageCount, kMaxStages);
    if (m.StageCount < 1) throw std::invalid_argument("no loading stage");
    out.Line(ListLine().Int(m.StageCount));
    WriteRows(out, kStageItems, m, m.StageCount);
    WriteLoads(out, m.PointLoad, m.PointLoadCount);
    WriteLoads(out, m.LineLoad, m.LineLoadCount);
    WriteLoads(out, m.StripLoad, m.StripLoadCount);

    out.Line(ListLine().Int(m.SoilLayerCount));
    for (int i = 0; i < m.SoilLayerCount; ++i) WriteRecord(ListOut(out), kDrainItems, m.DrainMethod[i]);

    CountLine(out, m.SheetPileCount, kMaxSheetPiles);
    for (int i = 0; i < m.SheetPileCount; ++i) WriteRecord(ListOut(out), kSheetPileItems, m.SheetPile[i]);
    return out.Utf8();
}

}  // namespace

i16 WriteCondFile(Model& m, const ProgramState& ps, const std::string& ext, i16 snapshot, MessageSink& ui) {
    std::filesystem::path path = snapshot == 0 ? ProjectFilePath(ext) : SnapshotPath(ps.AppPath, ext);
    try {
        WriteCp932FileAtomic(path, FormatCondFile(m));
    } catch (const UnsavableValue& e) {
        ui.Notify(std::string(snapshot == 0 ? kWriteProjectMsg : kWriteSnapshotMsg) + "\r" + e.what(),
                  MsgIcon::Exclamation);
        return -1;
    } catch (const std::exception&) {
        // TextError (encoding, file) and invalid_argument (model) alike.
        ui.Notify(snapshot == 0 ? kWriteProjectMsg : kWriteSnapshotMsg, MsgIcon::Exclamation);
        return -1;
    }
    return 0;
}

namespace {

constexpr const char* kTooPrecise = "数値の有効桁数が15桁を超えています。";

// Reads the fields of a project file in order; any fault throws FileFault
// naming the line. Every value is checked against its limit, every integer
// before it is narrowed, and every value must be one the writer writes
// back unchanged.
class CondReader {
public:
    explicit CondReader(FieldFile& in) : in_(in) {}

    int Version() {
        auto f = in_.Field();
        // The leading numeric part of the first field.
        long long v = 0;
        std::size_t i = 0;
        while (i < f.size() && f[i] >= '0' && f[i] <= '9' && v < 100000) v = v * 10 + (f[i++] - '0');
        return static_cast<int>(v);
    }
    std::string TextLine() {
        std::string l = in_.WholeLine();
        // The writer drops a lone CR, which the line would otherwise lose.
        if (l.find('\r') != std::string::npos) in_.Fail(kFaultText);
        return TrimSpaces(l);
    }
    i16 Int(Item item) {
        long long v = in_.Int();
        if (v < -2147483648LL || v > 2147483647LL) in_.Fail(kFaultNumber);
        auto n = CheckedInt16(item, v);
        if (!n) in_.Fail(LimitFileText(item));
        return *n;
    }
    // A count of the entries that follow; name says of what.
    i16 Count(Item item, const char* name) {
        i16 v = Int(item);
        const Limit& l = LimitOf(item);
        return static_cast<i16>(in_.Count(v, static_cast<long long>(l.lo), static_cast<long long>(l.hi), name));
    }
    double Real(Item item) {
        double v = in_.Real();
        if (!WithinLimit(item, v)) in_.Fail(LimitFileText(item));
        // More digits than the writer keeps would read back as another value.
        double back;
        if (!ParseReal(FormatReal(v), back) || back != v) in_.Fail(kTooPrecise);
        return v;
    }
    std::string Str() {
        std::string s = in_.Field();
        if (s.find_first_of("\"\r\n") != std::string::npos) in_.Fail(kFaultText);
        return s;
    }
    [[noreturn]] void Fail(std::string_view why) const { in_.Fail(why); }

    // A record's values, read as fields across line ends.
    void Line(const auto&, int) {}
    void Read(i16& v, const auto& f) { v = f.max ? Count(f.limit, f.label) : Int(f.limit); }
    void Read(double& v, const auto& f) { v = Real(f.limit); }
    void Read(std::string& v, const auto&) { v = Str(); }

private:
    FieldFile& in_;
};

template <class T, class List>
void ReadRows(CondReader& r, const List& list, T& owner, int n) {
    for (int k = 0; k < n; ++k) {
        Row<T> row{owner, k};
        ReadRecord(r, list, row);
    }
}

void ReadBlock(CondReader& r, SoilBlock& b) {
    b.Name = r.TextLine();
    ReadRecord(r, kBlockItems, b);
    ReadRows(r, kVertexItems, b, b.nPt);
}

void ReadCurve(CondReader& r, CurveTable& c, Item pressure, Item value) {
    c.n = r.Count(Item::CurvePointCount, "曲線の点数");
    ReadRows(r, CurveItems(pressure, value), c, c.n);
}

void ReadLines(CondReader& r, const Model& m, std::array<BoundaryLine, kMaxLines + 1>& lines, i16& count,
               const char* name) {
    count = r.Count(Item::LineCount, name);
    for (int i = 0; i < count; ++i) {
        ReadRecord(r, kLineItems, lines[i]);
        for (i16 pt : {lines[i].pt1, lines[i].pt2})
            if (pt >= m.BndPtCount) r.Fail("境界線の端点の境界点がありません。");
    }
}

void ReadLoads(CondReader& r, std::array<LoadRec, kMaxLoads + 1>& loads, i16& count, Item load, const char* name) {
    count = r.Count(Item::LoadCount, name);
    const auto items = LoadItems(load);
    for (int i = 0; i < count; ++i) ReadRecord(r, items, loads[i]);
}

// The soil layer count is repeated four times; a file whose copies differ
// is damaged.
void SameLayerCount(CondReader& r, const Model& m) {
    if (r.Int(Item::BlockCount) != m.SoilLayerCount) r.Fail("土層数が前の土層数と異なります。");
}

int ParseCondFile(CondReader& r, Model& m) {
    int version = r.Version();
    if (version < 1 || version > kCondFileVersion) throw FileFault(1, kFaultVersion);
    StudyCond& c = m.Cond;
    c.ProjectTitle = r.TextLine();
    c.LeavePeriod = r.Int(Item::LeavePeriod);
    m.CalcPosCount = r.Count(Item::PositionCount, "計算位置数");
    ReadRows(r, kPositionItems, c, m.CalcPosCount);
    ReadRecord(r, kCondItems, c);

    m.BndPtCount = r.Count(Item::PointCount, "境界点数");
    for (int i = 0; i < m.BndPtCount; ++i) ReadRecord(r, kPointItems, m.BndPt[i]);
    ReadLines(r, m, m.BndLine, m.BndLineCount, "境界線数");
    ReadLines(r, m, m.CutLine, m.CutLineCount, "切土線数");

    m.EmbankmentCount = r.Count(Item::BlockCount, "盛土数");
    for (int i = 0; i < m.EmbankmentCount; ++i) ReadBlock(r, m.Embankment[i]);
    m.SoilLayerCount = r.Count(Item::BlockCount, "土層数");
    for (int i = 0; i < m.SoilLayerCount; ++i) ReadBlock(r, m.SoilLayer[i]);
    m.CutCount = r.Count(Item::BlockCount, "切土数");
    for (int i = 0; i < m.CutCount; ++i) ReadBlock(r, m.CutBlock[i]);

    SameLayerCount(r, m);
    for (int i = 0; i < m.SoilLayerCount; ++i) {
        ReadCurve(r, m.ELogPCurve[i], Item::CurvePressure, Item::VoidRatio);
        ReadCurve(r, m.MvCurve[i], Item::CurvePressure, Item::MvValue);
        ReadCurve(r, m.CvCurve[i], Item::CurvePressure, Item::CvValue);
    }
    for (int d = 0; d < kSandCurves; ++d) ReadCurve(r, m.BKHoughCurve[d], Item::SandPressure, Item::SandVoidRatio);

    SameLayerCount(r, m);
    for (int i = 0; i < m.SoilLayerCount; ++i) ReadRecord(r, kSoilParamItems, m.SoilParam[i]);

    m.StageCount = r.Count(Item::StageCount, "段階数");
    ReadRows(r, kStageItems, m, m.StageCount);
    ReadLoads(r, m.PointLoad, m.PointLoadCount, Item::PointLoad, "集中荷重数");
    ReadLoads(r, m.LineLoad, m.LineLoadCount, Item::LineLoad, "線荷重数");
    ReadLoads(r, m.StripLoad, m.StripLoadCount, Item::StripLoad, "帯状荷重数");

    SameLayerCount(r, m);
    for (int i = 0; i < m.SoilLayerCount; ++i) ReadRecord(r, kDrainItems, m.DrainMethod[i], version);

    if (version >= 2) {
        m.SheetPileCount = r.Count(Item::WallCount, "矢板の数");
        for (int i = 0; i < m.SheetPileCount; ++i) ReadRecord(r, kSheetPileItems, m.SheetPile[i]);
    }
    return version;
}

}  // namespace

std::string FormatCondFile(Model& m) {
    std::string text = FormatCondText(m);
    // What the reader would refuse is never written: the file must open
    // again. The reader's own checks decide, against the same limits.
    auto scratch = std::make_unique<Model>();
    try {
        ReadFields(text, [&](FieldFile& f) {
            CondReader r(f);
            ParseCondFile(r, *scratch);
        });
    } catch (const FileFault& bad) {
        throw UnsavableValue(bad.Reason());
    }
    return text;
}

bool ReadCondFile(Model& m, ProgramState& ps, const std::filesystem::path& path, MessageSink& ui) {
    // The file goes into a reset copy, taken over only when it is whole.
    auto scratch = std::make_unique<Model>(m);
    ResetModel(*scratch, ps.AppPath, ui);
    int version = 0;
    try {
        const std::string text = DecodeCp932Text(ReadFileBytes(ProjectFilePath(path), kMaxProjectBytes));
        ReadFields(text, [&](FieldFile& f) {
            CondReader r(f);
            version = ParseCondFile(r, *scratch);
        });
    } catch (const FileFault& bad) {
        ui.Notify(std::string(kReadProjectMsg) + FaultDetail(bad), MsgIcon::Exclamation);
        return false;
    }
    m = std::move(*scratch);
    ps.CondFileVersion = static_cast<i16>(version);
    return true;
}

namespace {

// The lines of a snapshot, or false when it is missing, unreadable or cut
// short. The bytes are compared as they are: equal bytes are equal text.
bool SnapshotLines(const std::filesystem::path& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (ReadWholeFile(path, bytes) != ReadFault::None) return false;
    if (bytes.empty() || bytes.back() != '\n') return false;
    lines = SplitLines(bytes);
    return true;
}

}  // namespace

i16 CondFilesDiffer(const ProgramState& ps, std::string_view a, std::string_view b) {
    std::vector<std::string> la, lb;
    if (!SnapshotLines(SnapshotPath(ps.AppPath, a), la)) return -1;
    if (!SnapshotLines(SnapshotPath(ps.AppPath, b), lb)) return -1;
    return la == lb ? 0 : -1;
}

}  // namespace kova
