#include "print/forms.hpp"

#include <algorithm>

namespace kova::print {
namespace {

using R = FormRole;
using H = HeaderRole;
namespace F = field;

const std::string kM = "m";
const std::string kKpa = "kN/m²";
const std::string kGamma = "kN/m³";
const std::string kDays = "日";
const std::string kCv = "m²/日";

// Columns shared by several forms.
std::vector<FormColumn> LoadColumns(std::string_view loadUnit) {
    using L = F::LoadRow;
    return {{L::No, "No.", ""},
            {L::X, "X", std::string(kM)},
            {L::Y, "Y", std::string(kM)},
            {L::Load, "荷重", std::string(loadUnit)},
            {L::StartDay, "載荷開始日", std::string(kDays)},
            {L::Days, "載荷日数", std::string(kDays)}};
}

// One column per loading stage, 1 to 5.
std::vector<FormColumn> StageColumns(int firstField, std::string_view quantity, std::string_view unit) {
    std::vector<FormColumn> c;
    for (int s = 0; s < 5; ++s)
        c.push_back({firstField + s, std::string(quantity) + " " + std::to_string(s + 1) + "段", std::string(unit)});
    return c;
}

// The total row under the five stage columns of the stage settlements.
std::vector<FormColumn> StageTotals() {
    std::vector<FormColumn> c;
    for (int s = 0; s < 5; ++s)
        c.push_back({F::StageSettlementTotal::FirstStage + s, "", "", F::StageSettlementRow::FirstStage + s});
    return c;
}

std::vector<FormColumn> Join(std::vector<FormColumn> a, const std::vector<FormColumn>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<FormLayout> Build() {
    std::vector<FormLayout> t = {
        // The condition report.
        {kConditionTitleForm, R::Title, "検討条件", {{F::ConditionTitle::Project, "業務名", "", -1, H::Project}}},
        {kSoilConditionHeadingForm, R::Heading, "地層条件", {}},
        {kSoilConditionRowForm,
         R::Row,
         "地層条件",
         {{F::SoilConditionRow::Layer, "層番号", ""},
          {F::SoilConditionRow::Soil, "土質", ""},
          {F::SoilConditionRow::Method, "沈下計算法", ""},
          {F::SoilConditionRow::Drainage, "排水条件", ""},
          {F::SoilConditionRow::UnitWeight, "有効重量 γ'", kGamma},
          {F::SoilConditionRow::NValue, "N値", ""},
          {F::SoilConditionRow::Cc, "圧縮指数 Cc", ""}}},
        {kSoilConditionEndForm, R::End, "", {}},
        {kDrainConditionHeadingForm, R::Heading, "バーチカルドレーン条件", {}},
        {kDrainConditionRowForm,
         R::Row,
         "バーチカルドレーン条件",
         {{F::DrainConditionRow::Layer, "層番号", ""},
          {F::DrainConditionRow::Arrangement, "打設配置", ""},
          {F::DrainConditionRow::Spacing, "打設間隔 d", kM},
          {F::DrainConditionRow::Diameter, "ドレーン径 dw", kM},
          {F::DrainConditionRow::Alpha, "係数 α", ""},
          {F::DrainConditionRow::PermeabilityRatio, "透水係数比 Kc/kw", ""},
          {F::DrainConditionRow::ShareRatio, "応力分担比 n", ""},
          {F::DrainConditionRow::ReplaceRatio, "置換率 as", ""}}},
        {kDrainConditionEndForm, R::End, "", {}},
        {kEmbankmentHeadingForm, R::Heading, "盛土", {}},
        {kEmbankmentRowForm,
         R::Row,
         "盛土",
         {{F::EmbankmentRow::No, "No.", ""},
          {F::EmbankmentRow::UnitWeight, "有効重量 γ'", kGamma},
          {F::EmbankmentRow::StartDay, "載荷開始日", kDays},
          {F::EmbankmentRow::Days, "載荷日数", kDays}}},
        {kPointLoadHeadingForm, R::Heading, "集中荷重", LoadColumns("kN")},
        {kLoadRowForm, R::Row, "荷重", LoadColumns("")},
        {kLineLoadHeadingForm, R::Heading, "線荷重", LoadColumns("kN/m")},
        {kStripLoadHeadingForm, R::Heading, "帯荷重", {}},
        {kStripLoadRowForm,
         R::Row,
         "帯荷重",
         {{F::StripLoadRow::No, "No.", ""},
          {F::StripLoadRow::X1, "X1", kM},
          {F::StripLoadRow::Y1, "Y1", kM},
          {F::StripLoadRow::X2, "X2", kM},
          {F::StripLoadRow::Y2, "Y2", kM},
          {F::StripLoadRow::Load, "荷重 q", kKpa},
          {F::StripLoadRow::StartDay, "載荷開始日", kDays},
          {F::StripLoadRow::Days, "載荷日数", kDays}}},

        // The report of a calculation position.
        {kPositionTitleForm,
         R::Title,
         "沈下算出点",
         {{F::PositionTitle::Name, "算出点名", "", -1, H::Position},
          {F::PositionTitle::X, "X座標", kM, -1, H::PositionX}}},
        {kNoSoilForm, R::Statement, "沈下量", {}},
        {kColumnHeadingForm, R::Heading, "土層構成と土被り圧", {}},
        {kColumnRowForm,
         R::Row,
         "土層構成と土被り圧",
         {{F::ColumnRow::Soil, "土質", ""},
          {F::ColumnRow::Top, "上端標高", kM},
          {F::ColumnRow::Bottom, "下端標高", kM},
          {F::ColumnRow::Thickness, "層厚", kM},
          {F::ColumnRow::UnitWeight, "有効重量 γ'", kGamma},
          {F::ColumnRow::TopOverburden, "上端の土被り圧", kKpa},
          {F::ColumnRow::BottomOverburden, "下端の土被り圧", kKpa},
          {F::ColumnRow::P0, "有効土被り圧 P0", kKpa},
          {F::ColumnRow::Unloading, "除荷重 U", kKpa}}},
        {kStressHeadingForm, R::Heading, "地中増加応力 ΔP（段階別）", {}},
        {kStressRowForm, R::Row, "地中増加応力 ΔP（段階別）",
         Join({{F::StressRow::Layer, "層番号", ""},
               {F::StressRow::P0, "P0", kKpa},
               {F::StressRow::Unloading, "除荷重 U", kKpa}},
              StageColumns(F::StressRow::FirstStage, "ΔP", kKpa))},

        {kSettlementCalcHeadingForm, R::Heading, "圧密沈下量の計算", {}},
        {kSettlementInputRowForm,
         R::Row,
         "荷重と土質定数",
         {{F::SettlementInputRow::Layer, "層番号", ""},
          {F::SettlementInputRow::Soil, "土質", ""},
          {F::SettlementInputRow::P0, "P0", kKpa},
          {F::SettlementInputRow::Unloading, "除荷重 U", kKpa},
          {F::SettlementInputRow::Dp, "増加応力 ΔP", kKpa},
          {F::SettlementInputRow::E0, "初期間隙比 e0", ""},
          {F::SettlementInputRow::E1, "間隙比 e1", ""},
          {F::SettlementInputRow::Mv, "体積圧縮係数 mv", "m²/kN"},
          {F::SettlementInputRow::Cc, "圧縮指数 Cc", ""}}},
        {kSettlementInputEndForm, R::End, "", {}},
        {kSettlementHeadingForm, R::Heading, "沈下量", {}},
        {kSettlementRowForm,
         R::Row,
         "沈下量",
         {{F::SettlementRow::Layer, "層番号", ""},
          {F::SettlementRow::Method, "沈下計算法", ""},
          {F::SettlementRow::Thickness, "層厚 H", kM},
          {F::SettlementRow::Strain, "Δe/(1+e0)", ""},
          {F::SettlementRow::DpMinusU, "ΔP－U", kKpa},
          {F::SettlementRow::LogRatio, "log((P0+ΔP)/(P0+U))", ""},
          {F::SettlementRow::Beta, "補正係数 β", ""},
          {F::SettlementRow::Settlement, "沈下量 S", kM}}},
        {kSettlementTotalForm,
         R::Total,
         "合計",
         {{F::SettlementTotal::Settlement, "沈下量 S", kM, F::SettlementRow::Settlement}}},
        {kSettlementNoteForm, R::Note, "mv：", {}},
        {kSettlementKeptNoteForm, R::Note, "＊：", {}},
        {kStageSettlementHeadingForm, R::Heading, "段階別の沈下量", {}},
        {kStageSettlementRowForm, R::Row, "段階別の沈下量",
         Join({{F::StageSettlementRow::Layer, "層番号", ""},
               {F::StageSettlementRow::Soil, "土質", ""},
               {F::StageSettlementRow::Method, "沈下計算法", ""},
               {F::StageSettlementRow::Thickness, "層厚 H", kM}},
              StageColumns(F::StageSettlementRow::FirstStage, "S", kM))},
        {kStageSettlementTotalForm, R::Total, "合計", StageTotals()},

        {kConsolidationHeadingForm, R::Heading, "圧密時間の計算", {}},
        {kCvRowForm,
         R::Row,
         "圧密係数",
         {{F::CvRow::Layer, "層番号", ""},
          {F::CvRow::Soil, "土質", ""},
          {F::CvRow::Drainage, "排水条件", ""},
          {F::CvRow::Thickness, "層厚 H", kM},
          {F::CvRow::P0, "P0", kKpa},
          {F::CvRow::Unloading, "除荷重 U", kKpa},
          {F::CvRow::Dp, "増加応力 ΔP", kKpa},
          {F::CvRow::CvPressure, "Cv を読む圧力", kKpa},
          {F::CvRow::Cv, "圧密係数 Cv", kCv}}},
        {kCvNoteForm, R::Note, "Cv：", {}},
        {kUnitHeadingForm, R::Heading, "圧密単位", {}},
        {kUnitRowForm,
         R::Row,
         "圧密単位",
         {{F::UnitRow::Layer, "基準層", ""},
          {F::UnitRow::Thickness, "層厚 H'", kM},
          {F::UnitRow::DrainLength, "排水距離", kM},
          {F::UnitRow::Cv, "圧密係数 Cv", kCv},
          {F::UnitRow::Increment, "沈下量の増分", kM}}},
        {kUnitEndForm, R::End, "", {}},
        {kDrainUnitHeadingForm, R::Heading, "圧密単位（バーチカルドレーン）", {}},
        {kDrainUnitRowForm,
         R::Row,
         "圧密単位（バーチカルドレーン）",
         {{F::DrainUnitRow::Layer, "基準層", ""},
          {F::DrainUnitRow::Drain, "ドレーン", ""},
          {F::DrainUnitRow::DrainLength, "排水距離", kM},
          {F::DrainUnitRow::Cv, "圧密係数 Cv", kCv},
          {F::DrainUnitRow::EffectiveDiameter, "有効径 de", kM},
          {F::DrainUnitRow::Alpha, "係数 α", ""},
          {F::DrainUnitRow::Ch, "水平圧密係数 Ch", kCv},
          {F::DrainUnitRow::Increment, "沈下量の増分", kM}}},
        {kDrainUnitEndForm, R::End, "", {}},
        {kDrainFactorHeadingForm, R::Heading, "ドレーンの係数", {}},
        {kDrainFactorRowForm,
         R::Row,
         "ドレーンの係数",
         {{F::DrainFactorRow::Layer, "基準層", ""},
          {F::DrainFactorRow::F, "F(n)", ""},
          {F::DrainFactorRow::L, "ウェルレジスタンス L", ""}}},
        {kDrainFactorEndForm, R::End, "", {}},

        {kStageTimeHeadingForm, R::Heading, "圧密度と経過日数・沈下量（この段階）", {}},
        {kTimeRowForm, R::TimeRow, "圧密度と経過日数・沈下量", {}},
        {kStageTimeEndForm, R::End, "", {}},
        {kTimeGraphGuideForm, R::Heading, "時間－沈下量の読み方", {}},
        {kOverallTimeHeadingForm, R::Heading, "時間－沈下量（全段階の累計）", {}},
        {kOverallTimeLeadForm, R::End, "", {}},
        {kOverallTimeEndForm, R::End, "", {}},

        // The prediction program's station report.
        {kStationTitleForm,
         R::Title,
         "双曲線法による沈下予測",
         {{F::StationTitle::Project, "業務名", "", -1, H::Project},
          {F::StationTitle::Station, "観測点", "", -1, H::Position}}},
        {kRegressionForm,
         R::Title,
         "回帰の結果",
         {{F::Regression::Start, "回帰開始日 Sa", ""},
          {F::Regression::End, "回帰終了日 Sa'", ""},
          {F::Regression::Intercept, "切片 b", "日/m"},
          {F::Regression::Slope, "勾配 a", "1/m"},
          {F::Regression::R2, "決定係数 r²", ""},
          {F::Regression::FinalSettlement, "最終沈下量", ""}}},
    };
    return t;
}

}  // namespace

const std::vector<FormLayout>& AllForms() {
    static const std::vector<FormLayout> table = Build();
    return table;
}

const FormLayout* FindForm(std::string_view form) {
    const auto& t = AllForms();
    auto it = std::find_if(t.begin(), t.end(), [&](const FormLayout& l) { return l.form == form; });
    return it == t.end() ? nullptr : &*it;
}

}  // namespace kova::print
