#include "engine/reader.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/errors.hpp"
#include "rules/limits.hpp"
#include "textio/cformat.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/listline.hpp"

namespace kova::engine {
namespace {

constexpr const char* kTooMany = "件数が上限を超えています。";
constexpr const char* kBadPoint = "境界点番号が1～500の範囲にありません。";
constexpr const char* kBadVertices = "構成点数が100を超えています。";
constexpr const char* kBadStage = "段階荷重番号が1～5の範囲にありません。";
constexpr const char* kBadCurve = "曲線番号または曲線の点数が正しくありません。";
constexpr const char* kBadText = "文字列が正しくありません。";

// The fields at the start of one line: numbers separated by commas; whatever
// follows the last number wanted (the quoted label) is ignored.
class LineScan {
public:
    explicit LineScan(LineFields fields) : f_(std::move(fields)) {}

    int Line() const { return f_.Line(); }
    const LineFields& Fields() const { return f_; }
    [[noreturn]] void Fail(std::string_view why) const { f_.Fail(why); }

    long long Int(long long lo = -2147483648LL, long long hi = 2147483647LL, const char* why = kFaultNumber) {
        long long v = f_.Int();
        if (v < -2147483648LL || v > 2147483647LL) Fail(kFaultNumber);
        if (v < lo || v > hi) Fail(why);
        return v;
    }
    double Real() { return f_.Real(); }
    // A value checked against the table of limits; an integer is checked
    // before it is narrowed, so 65537 never passes as 1.
    double Real(Item item) {
        double v = Real();
        if (!WithinLimit(item, v)) Fail(LimitFileText(item));
        return v;
    }
    int Int(Item item) {
        long long v = Int();
        if (!CheckedInt32(item, v)) Fail(LimitFileText(item));
        return static_cast<int>(v);
    }
    i16 Int16(Item item) {
        long long v = Int();
        auto n = CheckedInt16(item, v);
        if (!n) Fail(LimitFileText(item));
        return *n;
    }

private:
    LineFields f_;
};

class InputLines {
public:
    explicit InputLines(FieldFile& f) : f_(f) {}

    LineScan Next() { return LineScan(f_.NextLine()); }

    // The text between the first and the last double quote of the line.
    std::string Quoted() {
        return TruncateCp932(f_.NextLine().Quoted(kBadText), kMaxTextBytes);
    }

    // A count line: 0..capacity entries follow; name says of what.
    int Count(int capacity, const char* name) {
        LineScan l = Next();
        long long n = l.Int(0, 2147483647LL);
        if (n > capacity) l.Fail(kTooMany);
        return static_cast<int>(f_.Count(l.Fields(), n, 0, capacity, name));
    }
    // A count read as an item of a line already taken.
    int Count(LineScan& l, long long lo, long long hi, const char* why, const char* name) {
        long long n = l.Int(lo, hi, why);
        return static_cast<int>(f_.Count(l.Fields(), n, lo, hi, name));
    }

private:
    FieldFile& f_;
};

// No file of a section the capacities allow is larger: every line at its
// longest (a title or a name of kMaxTextBytes, or numbers written as long
// as a reader accepts them), so a larger file is refused before it is read.
constexpr std::uintmax_t kMaxLineBytes = 512;
constexpr std::uintmax_t kMaxInputLines =
    16 + 2 * kMaxPositions + kMaxNodeNumber + kMaxSoilLayers * (1 + kMaxBlockVertices + 8 + 3 * (1 + kMaxCurvePoints)) +
    kMaxLoadBlocks * (1 + kMaxBlockVertices + 3) + kMaxCutBlocks * (1 + kMaxBlockVertices + 2) +
    kSandCurveCount * (2 + kMaxCurvePoints) + 3 * kMaxLoads * 4 + kMaxWalls;
constexpr std::uintmax_t kMaxInputBytes = kMaxInputLines * kMaxLineBytes;

int PointNumber(LineScan& l) {
    return static_cast<int>(l.Int(1, kMaxNodeNumber, kBadPoint));
}

// "%d,%d,%d": stage, start day, days.
void ReadStageLine(InputLines& in, i16& stage, int& start, int& days) {
    LineScan l = in.Next();
    stage = static_cast<i16>(l.Int(1, kMaxStages, kBadStage));
    start = l.Int(Item::StageStartDay);
    days = l.Int(Item::StageDays);
}

// "%d,%d" (number ignored, vertex count), the vertex lines and the line of
// the label's point.
template <typename Block>
void ReadOutline(InputLines& in, Block& b) {
    LineScan head = in.Next();
    head.Int();
    b.vertex_count = static_cast<i16>(in.Count(head, 0, kMaxBlockVertices, kBadVertices, "構成点数"));
    for (int k = 0; k < b.vertex_count; ++k) {
        LineScan v = in.Next();
        v.Int();
        b.vertices[k] = PointNumber(v);
    }
    LineScan label = in.Next();
    b.label_x = label.Real(Item::X);
    b.label_y = label.Real(Item::Y);
}

// "%d,%d" (curve number, from 1 to the table's last, and point count), a
// sand curve's index line, then the points "%d,%g,%g" in the engine's units.
void ReadCurve(InputLines& in, std::span<CurveRec> table, const char* countName, bool indexLine, Item pressureItem,
               Item valueItem, double pScale, double vScale, bool divide) {
    LineScan head = in.Next();
    int c = static_cast<int>(head.Int(1, static_cast<long long>(table.size()) - 1, kBadCurve));
    int m = in.Count(head, 0, kMaxCurvePoints, kBadCurve, countName);
    if (indexLine) in.Next().Int();
    CurveRec& curve = table[static_cast<std::size_t>(c)];
    curve = CurveRec{};
    curve.count = m;
    for (int k = 0; k < m; ++k) {
        LineScan p = in.Next();
        p.Int();
        curve.pressure[k] = p.Real(pressureItem) * pScale;
        double v = p.Real(valueItem);
        curve.value[k] = divide ? v / vScale : v * vScale;
    }
}

void ReadAll(InputLines& in, CalcInput& d) {
    d = CalcInput{};
    d.ProjectTitle = in.Quoted();
    d.LeavePeriod = in.Next().Int(Item::LeavePeriod);
    d.ResidualSettlement = in.Next().Real(Item::ResidualSettlement);
    d.TimeCondKind = in.Next().Int(Item::TimeCondKind);
    d.UseSandImmediate = in.Next().Int(Item::UseSandImmediate);
    d.UseCutPreload = in.Next().Int(Item::UseCutPreload);
    d.MvPMethod = in.Next().Int(Item::MvPMethod);
    d.CvPMethod = in.Next().Int(Item::CvPMethod);
    d.AutoScaleXY = in.Next().Int(Item::AutoScaleXY);

    d.position_count = in.Count(kMaxPositions, "計算位置数");
    for (int i = 0; i < d.position_count; ++i) {
        LineScan l = in.Next();
        l.Int();
        d.positions[i].x = l.Real(Item::X);
        d.positions[i].name = in.Quoted();
    }

    d.node_count = in.Count(kMaxNodeNumber, "境界点数");
    for (int i = 0; i < d.node_count; ++i) {
        LineScan l = in.Next();
        int n = PointNumber(l);
        d.nodes[n].x = l.Real(Item::X);
        d.nodes[n].y = l.Real(Item::Y);
        if (i == 0 || d.nodes[n].y < d.node_ymin) d.node_ymin = d.nodes[n].y;
        if (i == 0 || d.nodes[n].y > d.node_ymax) d.node_ymax = d.nodes[n].y;
    }

    d.soil_count = in.Count(kMaxSoilLayers, "土層数");
    bool first = true;
    for (int i = 0; i < d.soil_count; ++i) {
        SoilLayerRec& s = d.soil[i];
        ReadOutline(in, s);
        for (int k = 0; k < s.vertex_count; ++k) {
            double x = d.nodes[s.vertices[k]].x;
            if (first || x < d.xmin) d.xmin = x;
            if (first || x > d.xmax) d.xmax = x;
            first = false;
        }
        s.soil_kind = in.Next().Int16(Item::SoilType);
        LineScan w = in.Next();
        s.unit_weight = w.Real(Item::UnitWeight);
        s.n_value = w.Int16(Item::NValue);
        LineScan c = in.Next();
        s.cc = c.Real(Item::CompressionIndex);
        c.Real();
        c.Real();
        s.method = in.Next().Int16(Item::SettleMethod);
        s.drainage = in.Next().Int16(Item::Drainage);
        s.drain_kind = in.Next().Int16(Item::DrainMethod);
        LineScan dr = in.Next();
        s.drain_spacing = dr.Real(Item::DrainSpacing);
        s.drain_diameter = dr.Real(Item::DrainDiameter);
        s.alpha = dr.Real(Item::DrainAlpha);
        s.perm_ratio = dr.Real(Item::PermRatio);
        s.share_ratio = dr.Real(Item::ShareRatio);
        s.replace_ratio = dr.Real(Item::ReplaceRatio);
        s.beta = dr.Real(Item::ReductionFactor);
        s.curve_elogp = s.curve_mv = s.curve_cv = static_cast<i16>(i + 1);
    }

    d.block_count = in.Count(kMaxLoadBlocks, "盛土数");
    for (int i = 0; i < d.block_count; ++i) {
        LoadBlockRec& b = d.blocks[i];
        ReadOutline(in, b);
        b.unit_weight = in.Next().Real(Item::UnitWeight);
        ReadStageLine(in, b.stage, b.start_day, b.days);
    }

    d.cut_count = in.Count(kMaxCutBlocks, "切土数");
    for (int i = 0; i < d.cut_count; ++i) {
        CutBlockRec& b = d.cuts[i];
        ReadOutline(in, b);
        b.unit_weight = in.Next().Real(Item::UnitWeight);
    }

    // The soil layer count again: a copy that differs means a damaged file.
    in.Next().Int(d.soil_count, d.soil_count, "土層数が前の土層数と異なります。");
    for (int i = 0; i < d.soil_count; ++i) {
        ReadCurve(in, d.elogp, "曲線の点数", false, Item::CurvePressure, Item::VoidRatio, 10.0, 1.0, false);
        ReadCurve(in, d.mv, "曲線の点数", false, Item::CurvePressure, Item::MvValue, 10.0, 0.1, false);
        ReadCurve(in, d.cv, "曲線の点数", false, Item::CurvePressure, Item::CvValue, 10.0, 10000.0, true);
    }

    in.Next().Int(kSandCurveCount, kSandCurveCount, kBadCurve);  // always five sand curves
    for (int k = 0; k < kSandCurveCount; ++k)
        ReadCurve(in, d.sand, "BKHough曲線の点数", true, Item::SandPressure, Item::SandVoidRatio, 1.0, 1.0, false);

    auto readLoads = [&](int& count, std::array<LoadRec, kMaxLoads>& table, Item load, bool strip, const char* name) {
        count = in.Count(kMaxLoads, name);
        for (int i = 0; i < count; ++i) {
            LoadRec& r = table[i];
            LineScan head = in.Next();
            head.Int();
            r.load = head.Real(load);
            LineScan p1 = in.Next();
            r.x1 = p1.Real(Item::X);
            r.y1 = p1.Real(Item::Y);
            if (strip) {
                LineScan p2 = in.Next();
                r.x2 = p2.Real(Item::X);
                r.y2 = p2.Real(Item::Y);
            }
            ReadStageLine(in, r.stage, r.start_day, r.days);
        }
    };
    readLoads(d.point_load_count, d.point_loads, Item::PointLoad, false, "集中荷重数");
    readLoads(d.line_load_count, d.line_loads, Item::LineLoad, false, "線荷重数");
    readLoads(d.strip_load_count, d.strip_loads, Item::StripLoad, true, "帯状荷重数");

    d.wall_count = in.Count(kMaxWalls, "矢板の数");
    for (int i = 0; i < d.wall_count; ++i) {
        LineScan l = in.Next();
        d.walls[i].x = l.Real(Item::X);
        d.walls[i].top = l.Real(Item::Y);
        d.walls[i].bottom = l.Real(Item::Y);
    }
}

}  // namespace

void read_calc_input(const std::filesystem::path& folder, CalcInput& in, MessageSink& messages) {
    const std::filesystem::path path = folder / kInputFileName;
    auto refuse = [&](const std::string& text, const char* why) {
        messages.Show(Message{text, "error", MsgIcon::None, MsgButtons::Ok, 0});
        throw RunAborted(why);
    };
    {
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::status(path, ec);
        if (!std::filesystem::exists(status))
            refuse("条件ファイルが見つかりません。\rインストールが正常に行われていない可能性があります。",
                   "input file missing");
        // A folder, a FIFO or a device is there, but holds no conditions (and
        // a FIFO or a device might never end).
        if (!std::filesystem::is_regular_file(status))
            refuse("条件ファイル(CAL_TNK.DAT)が通常のファイルではありません（フォルダーや特殊なファイルです）。",
                   "input not a regular file");
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (!ec && size > kMaxInputBytes)
            refuse(CFormat("条件ファイル(CAL_TNK.DAT)が大きすぎます（%ju バイト。計算できる最大の断面でも %ju "
                           "バイトを超えません）。",
                           static_cast<std::uintmax_t>(size), static_cast<std::uintmax_t>(kMaxInputBytes)),
                   "input file too large");
    }
    try {
        const std::string text = DecodeCp932Text(ReadFileBytes(path, kMaxInputBytes));
        auto parse = [&](FieldFile& f) {
            InputLines lines(f);
            ReadAll(lines, in);
        };
        ReadFields(text, parse);
    } catch (const FileFault& bad) {
        if (bad.Line() <= 0) refuse("条件ファイル(CAL_TNK.DAT)を読み込めません。", "input file unreadable");
        refuse("条件ファイル(CAL_TNK.DAT)の" + FaultText(bad.Line(), bad.Reason()), "malformed input");
    }
}

}  // namespace kova::engine
