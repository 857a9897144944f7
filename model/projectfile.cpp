#include "model/projectfile.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
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

// One value of a record, read and written from this one row: where it
// lives and its limit. A record's values stand on one line, in the list's
// order; a row with a key ("", none written) starts a line of its own.
template <class R>
using CondItem = Field<R, Item, i16, double, std::string>;

// A position's name has no limit of its own: the reader checks its text.
constexpr CondItem<TableRow<StudyCond>> kPositionItems[] = {
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

constexpr CondItem<TableRow<SoilBlock>> kVertexItems[] = {
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
std::array<CondItem<TableRow<CurveTable>>, 2> CurveItems(Item pressure, Item value) {
    return {{{Column<&CurveTable::X>, pressure}, {Column<&CurveTable::Y>, value}}};
}

// Stage s in row s-1.
constexpr CondItem<TableRow<Model>> kStageItems[] = {
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

// Writes the records for WalkCondFile; a model the file could not hold
// throws std::invalid_argument.
class CondWriter {
public:
    explicit CondWriter(LineBuilder& out) : out_(out) {}

    int Version() {
        out_.Line(CFormat("%06d", kCondFileVersion));
        return kCondFileVersion;
    }
    void TextLine(std::string& s, int blanks) {
        s = CleanTextLine(s);
        out_.Line(s.empty() ? std::string(blanks, ' ') : s);
    }
    // A quote inside a quoted item would end it early on reading.
    void QuotedTexts(std::span<std::string> texts) {
        for (std::string& t : texts) t = Without(t, "\"\r\n");
    }
    void Value(i16 v, Item) { out_.Line(ListLine().Int(v)); }
    // A count line, for a count the table can hold.
    void Count(i16 n, Item item, int limit, const char*) {
        CheckCount(n, limit);
        if (n < LimitOf(item).lo) throw std::invalid_argument("count below the least the file holds");
        Value(n, item);
    }
    void SameLayerCount(const Model& m) { Value(m.SoilLayerCount, Item::BlockCount); }
    void LineEnds(const BoundaryLine& l, const Model& m) {
        for (i16 pt : {l.pt1, l.pt2})
            if (pt < 0 || pt >= m.BndPtCount) throw std::invalid_argument("line end names no point");
    }
    template <class List, class R>
    void Record(const List& list, R& r, int = 1) {
        WriteRecord(ListOut(out_), list, r);
    }

private:
    LineBuilder& out_;
};

}  // namespace

std::filesystem::path SnapshotPath(const std::filesystem::path& appPath, std::string_view kind) {
    return appPath / ("KOVA_JKN." + std::string(kind));
}

std::filesystem::path ProjectFilePath(const std::filesystem::path& chosen) {
    std::filesystem::path p = chosen;
    if (!p.has_extension()) p += ".kov";
    return p;
}

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
        if (v < 1 || v > kCondFileVersion) throw FileFault(1, kFaultVersion);
        return static_cast<int>(v);
    }
    void TextLine(std::string& s, int) {
        std::string l = in_.WholeLine();
        // The writer drops a lone CR, which the line would otherwise lose.
        if (l.find('\r') != std::string::npos) in_.Fail(kFaultText);
        s = TrimSpaces(l);
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

    // The records for WalkCondFile.
    void QuotedTexts(std::span<std::string>) {}  // Str refuses what the writer removes
    void Value(i16& v, Item item) { v = Int(item); }
    void Count(i16& n, Item item, int, const char* name) { n = Count(item, name); }
    // The soil layer count is repeated four times; a file whose copies
    // differ is damaged.
    void SameLayerCount(const Model& m) {
        if (Int(Item::BlockCount) != m.SoilLayerCount) Fail("土層数が前の土層数と異なります。");
    }
    void LineEnds(const BoundaryLine& l, const Model& m) {
        for (i16 pt : {l.pt1, l.pt2})
            if (pt >= m.BndPtCount) Fail("境界線の端点の境界点がありません。");
    }
    template <class List, class R>
    void Record(const List& list, R& r, int version = 1) {
        ReadRecord(*this, list, r, version);
    }

private:
    FieldFile& in_;
};

// The first n rows of a table of parallel arrays, a line each.
template <class Io, class T, class List>
void Rows(Io& io, const List& list, T& owner, int n) {
    for (int k = 0; k < n; ++k) {
        TableRow<T> row{owner, static_cast<std::size_t>(k)};
        io.Record(list, row);
    }
}

template <class Io>
void Blocks(Io& io, std::array<SoilBlock, kMaxBlocks + 1>& blocks, i16& count, const char* name) {
    io.Count(count, Item::BlockCount, kMaxBlocks, name);
    for (int i = 0; i < count; ++i) {
        SoilBlock& b = blocks[i];
        io.TextLine(b.Name, kNameBlanks);
        io.Record(kBlockItems, b);
        Rows(io, kVertexItems, b, b.nPt);
    }
}

template <class Io>
void Curve(Io& io, CurveTable& c, Item pressure, Item value) {
    io.Count(c.n, Item::CurvePointCount, kMaxCurvePts, "曲線の点数");
    Rows(io, CurveItems(pressure, value), c, c.n);
}

template <class Io>
void Lines(Io& io, const Model& m, std::array<BoundaryLine, kMaxLines + 1>& lines, i16& count, const char* name) {
    io.Count(count, Item::LineCount, kMaxLines, name);
    for (int i = 0; i < count; ++i) {
        io.Record(kLineItems, lines[i]);
        io.LineEnds(lines[i], m);
    }
}

template <class Io>
void Loads(Io& io, std::array<LoadRec, kMaxLoads + 1>& loads, i16& count, Item load, const char* name) {
    io.Count(count, Item::LoadCount, kMaxLoads, name);
    const auto items = LoadItems(load);
    for (int i = 0; i < count; ++i) io.Record(items, loads[i]);
}

// The records of a project file in their order, for the writer and the
// reader alike (io a CondWriter or a CondReader). Returns the version.
template <class Io>
int WalkCondFile(Io& io, Model& m) {
    const int version = io.Version();
    StudyCond& c = m.Cond;
    io.TextLine(c.ProjectTitle, kTitleBlanks);
    io.Value(c.LeavePeriod, Item::LeavePeriod);
    io.Count(m.CalcPosCount, Item::PositionCount, kMaxCalcPos, "計算位置数");
    io.QuotedTexts(std::span(c.CalcPosName).first(static_cast<std::size_t>(m.CalcPosCount)));
    Rows(io, kPositionItems, c, m.CalcPosCount);
    io.Record(kCondItems, c);

    io.Count(m.BndPtCount, Item::PointCount, kMaxBndPts, "境界点数");
    for (int i = 0; i < m.BndPtCount; ++i) io.Record(kPointItems, m.BndPt[i]);
    Lines(io, m, m.BndLine, m.BndLineCount, "境界線数");
    Lines(io, m, m.CutLine, m.CutLineCount, "切土線数");

    Blocks(io, m.Embankment, m.EmbankmentCount, "盛土数");
    Blocks(io, m.SoilLayer, m.SoilLayerCount, "土層数");
    Blocks(io, m.CutBlock, m.CutCount, "切土数");

    io.SameLayerCount(m);
    for (int i = 0; i < m.SoilLayerCount; ++i) {
        Curve(io, m.ELogPCurve[i], Item::CurvePressure, Item::VoidRatio);
        Curve(io, m.MvCurve[i], Item::CurvePressure, Item::MvValue);
        Curve(io, m.CvCurve[i], Item::CurvePressure, Item::CvValue);
    }
    for (int d = 0; d < kSandCurves; ++d) Curve(io, m.BKHoughCurve[d], Item::SandPressure, Item::SandVoidRatio);

    io.SameLayerCount(m);
    for (int i = 0; i < m.SoilLayerCount; ++i) io.Record(kSoilParamItems, m.SoilParam[i]);

    io.Count(m.StageCount, Item::StageCount, kMaxStages, "段階数");
    Rows(io, kStageItems, m, m.StageCount);
    Loads(io, m.PointLoad, m.PointLoadCount, Item::PointLoad, "集中荷重数");
    Loads(io, m.LineLoad, m.LineLoadCount, Item::LineLoad, "線荷重数");
    Loads(io, m.StripLoad, m.StripLoadCount, Item::StripLoad, "帯状荷重数");

    io.SameLayerCount(m);
    for (int i = 0; i < m.SoilLayerCount; ++i) io.Record(kDrainItems, m.DrainMethod[i], version);

    if (version >= 2) {  // the writer's version always
        io.Count(m.SheetPileCount, Item::WallCount, kMaxSheetPiles, "矢板の数");
        for (int i = 0; i < m.SheetPileCount; ++i) io.Record(kSheetPileItems, m.SheetPile[i]);
    }
    return version;
}

}  // namespace

std::string FormatCondFile(Model& m) {
    LineBuilder out;
    CondWriter w(out);
    WalkCondFile(w, m);
    const std::string text = out.Utf8();
    // What the reader would refuse is never written: the file must open
    // again. The reader's own checks decide, against the same limits.
    auto scratch = std::make_unique<Model>();
    try {
        ReadFields(text, [&](FieldFile& f) {
            CondReader r(f);
            WalkCondFile(r, *scratch);
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
            version = WalkCondFile(r, *scratch);
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
