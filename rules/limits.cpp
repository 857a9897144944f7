#include "rules/limits.hpp"
#include "rules/settle_methods.hpp"

#include <array>
#include <cmath>
#include <cstdio>

namespace kova {
namespace {

constexpr double kI16Min = -32768;
constexpr double kI16Max = 32767;

// Coordinates: abscissae as large as survey grid coordinates and
// elevations even in millimetres hold any section, and keep every power the
// stress formulas take of a distance (up to the fifth) far from overflow.
constexpr double kAbscissa = 1e7;
constexpr double kElevation = 1e6;
constexpr double kLoad = 1e6;

// One row per item, in the order of the enumeration (checked below).
constexpr std::array<std::pair<Item, Limit>, static_cast<std::size_t>(Item::Count_)> kTable{{
    {Item::X, {"X座標", "m", -kAbscissa, kAbscissa, false}},
    {Item::Y, {"Y座標", "m", -kElevation, kElevation, false}},
    {Item::UnitWeight, {"単位体積重量", "kN/m3", 0, 100, false}},
    {Item::SoilType, {"土質", "", 0, 1, true}},
    {Item::SettleMethod, {"沈下計算方法", "", 0, kMethodCount - 1, true}},
    {Item::Drainage, {"排水条件", "", 0, 1, true}},
    {Item::CompressionIndex, {"圧縮指数", "", 0, 100, false}},
    {Item::NValue, {"N値", "", 0, 1000, true}},
    {Item::DrainMethod, {"促進工法", "", 0, 2, true}},
    {Item::DrainSpacing, {"打設間隔d", "m", 0, 100, false}},
    {Item::DrainDiameter, {"ドレーン径dw", "m", 0, 10, false}},
    {Item::DrainAlpha, {"係数α", "", 0, 1000, false}},
    {Item::PermRatio, {"透水係数比Kc/kw", "", 0, 1e6, false}},
    {Item::ShareRatio, {"応力分担比n", "", 0, 1000, false}},
    {Item::ReplaceRatio, {"置換率as", "", 0, 1, false}},
    {Item::ReductionFactor, {"沈下低減係数β", "", 0, 100, false}},
    {Item::CurvePressure, {"圧密曲線の圧力", "kN/m2の1/10", 0, 1e5, false}},
    {Item::VoidRatio, {"間隙比", "", 0, 100, false}},
    {Item::MvValue, {"体積圧縮係数Mv", "m2/kNの10倍", 0, 100, false}},
    {Item::CvValue, {"圧密係数Cv", "cm2/day", 0, 1e8, false}},
    {Item::SandPressure, {"B.K.Hough曲線の圧力", "kN/m2", 0, 1e6, false}},
    {Item::SandVoidRatio, {"B.K.Hough曲線の間隙比", "", 0, 100, false}},
    {Item::PointLoad, {"集中荷重", "kN", -kLoad, kLoad, false}},
    {Item::LineLoad, {"線荷重", "kN/m", -kLoad, kLoad, false}},
    {Item::StripLoad, {"帯状荷重", "kN/m2", -kLoad, kLoad, false}},
    {Item::Stage, {"段階載荷番号", "", 1, 5, true}},
    {Item::StageStartDay, {"施工開始日", "日", 0, kI16Max, true}},
    {Item::StageDays, {"施工日数", "日", 0, kI16Max, true}},
    {Item::LeavePeriod, {"放置期間", "日", 0, kI16Max, true}},
    {Item::ResidualSettlement, {"残留沈下量", "m", 0, 1000, false}},
    {Item::TimeCondKind, {"時間条件", "", 0, 1, true}},
    {Item::MvPMethod, {"Mvを求める圧力", "", 0, 1, true}},
    {Item::CvPMethod, {"Cvを求める圧力", "", 0, 1, true}},
    {Item::UseCutPreload, {"切り土による先行圧密荷重", "", 0, 1, true}},
    {Item::UseSandImmediate, {"砂質土地盤の即時沈下", "", 0, 1, true}},
    {Item::AutoScaleXY, {"XY別自動スケール", "", 0, 1, true}},
    {Item::PointCount, {"境界点数", "", 0, 500, true}},
    {Item::LineCount, {"境界線数", "", 0, 500, true}},
    {Item::BlockCount, {"ブロック数", "", 0, 20, true}},
    {Item::VertexCount, {"構成点数", "", 0, 100, true}},
    {Item::CurvePointCount, {"曲線の点数", "", 0, 21, true}},
    {Item::SandPointCount, {"B.K.Hough曲線の点数", "", 0, 21, true}},
    {Item::LoadCount, {"荷重数", "", 0, 5, true}},
    {Item::StageCount, {"段階数", "", 1, 5, true}},
    {Item::WallCount, {"矢板の数", "", 0, 3, true}},
    {Item::PositionCount, {"計算位置数", "", 0, 20, true}},
    {Item::LineEnd, {"境界線の端点", "", 0, 499, true}},
    {Item::PointNumber, {"境界点番号", "", 1, 500, true}},
    {Item::ObsFileVersion, {"FileVer", "", kI16Min, kI16Max, true}},
    {Item::ObsStationCount, {"測定箇所数", "", 0, 20, true}},
    {Item::ObsSettlementOption, {"沈下オプション", "", 0, 3, true}},
    {Item::ObsTimeAxisMode, {"時間軸表記", "", 0, 1, true}},
    {Item::ObsLeaveDays, {"経過日数", "日", 0, 3652059, true}},
    {Item::ObsTargetPercent, {"最終沈下量に対する割合", "%", 0, 100, false}},
    {Item::ObsResidualSettlement, {"残留沈下量", "m", 0, 1000, false}},
    {Item::ObsEndConditionPercent, {"終了条件", "%", 0, 100, false}},
    {Item::ObsRoundingMethod, {"丸め方法", "", kI16Min, kI16Max, true}},
    {Item::ObsCount, {"測定件数", "", 0, 500, true}},
    {Item::ObsFitRow, {"回帰範囲の行番号", "", 0, 500, true}},
    {Item::ObsSettlement, {"沈下量", "m", -1000, 1000, false}},
    {Item::ObsSwitch, {"除外スイッチ", "", kI16Min, kI16Max, true}},
}};

constexpr bool TableInOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].first) != i) return false;
    return true;
}
static_assert(TableInOrder(), "one row per item, in the order of the enumeration");

constexpr bool IntegralRangesFit() {
    for (const auto& [item, l] : kTable)
        if (l.integral && (l.lo < -2147483648.0 || l.hi > 2147483647.0)) return false;
    return true;
}
static_assert(IntegralRangesFit());

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

// The items whose typed range is tighter than their file range.
struct Tighter {
    Item item;
    TypedLimit typed;
};
constexpr Tighter kTyped[] = {
    {Item::CurvePressure, {0, 1e5, true}},
    {Item::VoidRatio, {0, 100, true}},
    {Item::MvValue, {0, 100, true}},
    {Item::CvValue, {0, 1e8, true}},
    {Item::SandPressure, {0, 1e6, true}},
    {Item::SandVoidRatio, {0, 100, true}},
    {Item::ReductionFactor, {0, 1, true}},
};

}  // namespace

const Limit& LimitOf(Item item) { return kTable[static_cast<std::size_t>(item)].second; }

const char* ItemName(Item item) { return LimitOf(item).name; }

bool WithinLimit(Item item, double v) {
    const Limit& l = LimitOf(item);
    if (!std::isfinite(v) || v < l.lo || v > l.hi) return false;
    return !l.integral || v == std::trunc(v);
}

std::string LimitRangeText(Item item) {
    const Limit& l = LimitOf(item);
    return Number(l.lo) + "～" + Number(l.hi);
}

namespace {
std::string NameWithUnit(const Limit& l) {
    std::string name = l.name;
    if (*l.unit) name += std::string("(") + l.unit + ")";
    return name;
}
}  // namespace

std::string LimitMessage(Item item) {
    return NameWithUnit(LimitOf(item)) + "は" + LimitRangeText(item) + "の範囲で指定してください。";
}

std::string LimitFileText(Item item) {
    return NameWithUnit(LimitOf(item)) + "が" + LimitRangeText(item) + "の範囲にありません。";
}

TypedLimit TypedLimitOf(Item item) {
    for (const Tighter& t : kTyped)
        if (t.item == item) return t.typed;
    const Limit& l = LimitOf(item);
    return {l.lo, l.hi, false};
}

bool WithinTypedLimit(Item item, double v) {
    const TypedLimit t = TypedLimitOf(item);
    return WithinLimit(item, v) && (t.loOpen ? v > t.lo : v >= t.lo) && v <= t.hi;
}

std::string TypedRangeText(Item item, double scale) {
    const TypedLimit t = TypedLimitOf(item);
    const std::string lo = Number(t.lo / scale), hi = Number(t.hi / scale);
    return t.loOpen ? lo + "を超え" + hi + "以下" : lo + "～" + hi;
}

std::optional<std::int16_t> CheckedInt16(Item item, long long v) {
    const Limit& l = LimitOf(item);
    if (static_cast<double>(v) < l.lo || static_cast<double>(v) > l.hi || v < kI16Min || v > kI16Max)
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}

std::optional<std::int32_t> CheckedInt32(Item item, long long v) {
    const Limit& l = LimitOf(item);
    if (static_cast<double>(v) < l.lo || static_cast<double>(v) > l.hi) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

}  // namespace kova
