#include "print/forms.hpp"

#include <algorithm>

namespace kova::print {
namespace {

using R = FormRole;
using H = HeaderRole;

const std::string kM = "m";
const std::string kKpa = "kN/m²";
const std::string kGamma = "kN/m³";
const std::string kDays = "日";
const std::string kCv = "m²/日";

// Columns shared by several forms.
std::vector<FormColumn> LoadColumns(std::string_view loadUnit) {
    return {{0, "No.", ""},
            {1, "X", std::string(kM)},
            {2, "Y", std::string(kM)},
            {3, "荷重", std::string(loadUnit)},
            {4, "載荷開始日", std::string(kDays)},
            {5, "載荷日数", std::string(kDays)}};
}

// One column per loading stage, 1 to 5.
std::vector<FormColumn> StageColumns(int firstField, std::string_view quantity, std::string_view unit) {
    std::vector<FormColumn> c;
    for (int s = 0; s < 5; ++s)
        c.push_back({firstField + s, std::string(quantity) + " " + std::to_string(s + 1) + "段", std::string(unit)});
    return c;
}

// A total row under the five stage columns of a table (fields 3 to 7).
std::vector<FormColumn> StageTotals() {
    std::vector<FormColumn> c;
    for (int s = 0; s < 5; ++s) c.push_back({s, "", "", 3 + s});
    return c;
}

std::vector<FormColumn> Join(std::vector<FormColumn> a, const std::vector<FormColumn>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<FormLayout> Build() {
    std::vector<FormLayout> t = {
        // The condition report.
        {kConditionTitleForm, R::Title, "検討条件", {{0, "業務名", "", -1, H::Project}}},
        {kSoilConditionHeadingForm, R::Heading, "地層条件", {}},
        {kSoilConditionRowForm,
         R::Row,
         "地層条件",
         {{0, "層番号", ""},
          {1, "土質", ""},
          {2, "沈下計算法", ""},
          {3, "排水条件", ""},
          {4, "有効重量 γ'", kGamma},
          {5, "N値", ""},
          {6, "圧縮指数 Cc", ""}}},
        {kSoilConditionEndForm, R::End, "", {}},
        {kDrainConditionHeadingForm, R::Heading, "バーチカルドレーン条件", {}},
        {kDrainConditionRowForm,
         R::Row,
         "バーチカルドレーン条件",
         {{0, "層番号", ""},
          {1, "打設配置", ""},
          {2, "打設間隔 d", kM},
          {3, "ドレーン径 dw", kM},
          {4, "係数 α", ""},
          {5, "透水係数比 Kc/kw", ""},
          {6, "応力分担比 n", ""},
          {7, "置換率 as", ""}}},
        {kDrainConditionEndForm, R::End, "", {}},
        {kEmbankmentHeadingForm, R::Heading, "盛土", {}},
        {kEmbankmentRowForm,
         R::Row,
         "盛土",
         {{0, "No.", ""}, {1, "有効重量 γ'", kGamma}, {2, "載荷開始日", kDays}, {3, "載荷日数", kDays}}},
        {kPointLoadHeadingForm, R::Heading, "集中荷重", LoadColumns("kN")},
        {kLoadRowForm, R::Row, "荷重", LoadColumns("")},
        {kLineLoadHeadingForm, R::Heading, "線荷重", LoadColumns("kN/m")},
        {kStripLoadHeadingForm, R::Heading, "帯荷重", {}},
        {kStripLoadRowForm,
         R::Row,
         "帯荷重",
         {{0, "No.", ""},
          {1, "X1", kM},
          {2, "Y1", kM},
          {3, "X2", kM},
          {4, "Y2", kM},
          {5, "荷重 q", kKpa},
          {6, "載荷開始日", kDays},
          {7, "載荷日数", kDays}}},

        // The report of a calculation position.
        {kPositionTitleForm,
         R::Title,
         "沈下算出点",
         {{0, "算出点名", "", -1, H::Position}, {1, "X座標", kM, -1, H::PositionX}}},
        {kNoSoilForm, R::Statement, "沈下量", {}},
        {kColumnHeadingForm, R::Heading, "土層構成と土被り圧", {}},
        {kColumnRowForm,
         R::Row,
         "土層構成と土被り圧",
         {{8, "土質", ""},
          {0, "上端標高", kM},
          {1, "下端標高", kM},
          {2, "層厚", kM},
          {3, "有効重量 γ'", kGamma},
          {4, "上端の土被り圧", kKpa},
          {5, "下端の土被り圧", kKpa},
          {6, "有効土被り圧 P0", kKpa},
          {7, "除荷重 U", kKpa}}},
        {kStressHeadingForm, R::Heading, "地中増加応力 ΔP（段階別）", {}},
        {kStressRowForm, R::Row, "地中増加応力 ΔP（段階別）",
         Join({{0, "層番号", ""}, {1, "P0", kKpa}, {2, "除荷重 U", kKpa}}, StageColumns(3, "ΔP", kKpa))},

        {kSettlementCalcHeadingForm, R::Heading, "圧密沈下量の計算", {}},
        {kSettlementInputRowForm,
         R::Row,
         "荷重と土質定数",
         {{0, "層番号", ""},
          {1, "土質", ""},
          {2, "P0", kKpa},
          {3, "除荷重 U", kKpa},
          {4, "増加応力 ΔP", kKpa},
          {5, "初期間隙比 e0", ""},
          {6, "間隙比 e1", ""},
          {7, "体積圧縮係数 mv", "m²/kN"},
          {8, "圧縮指数 Cc", ""}}},
        {kSettlementInputEndForm, R::End, "", {}},
        {kSettlementHeadingForm, R::Heading, "沈下量", {}},
        {kSettlementRowForm,
         R::Row,
         "沈下量",
         {{0, "層番号", ""},
          {1, "沈下計算法", ""},
          {2, "層厚 H", kM},
          {3, "Δe/(1+e0)", ""},
          {4, "ΔP－U", kKpa},
          {5, "log((P0+ΔP)/(P0+U))", ""},
          {7, "補正係数 β", ""},
          {6, "沈下量 S", kM}}},
        {kSettlementTotalForm, R::Total, "合計", {{0, "沈下量 S", kM, 6}}},
        {kSettlementNoteForm, R::Note, "mv：", {}},
        {kSettlementKeptNoteForm, R::Note, "＊：", {}},
        {kStageSettlementHeadingForm, R::Heading, "段階別の沈下量", {}},
        {kStageSettlementRowForm, R::Row, "段階別の沈下量",
         Join({{0, "層番号", ""}, {8, "土質", ""}, {1, "沈下計算法", ""}, {2, "層厚 H", kM}},
              StageColumns(3, "S", kM))},
        {kStageSettlementTotalForm, R::Total, "合計", StageTotals()},

        {kConsolidationHeadingForm, R::Heading, "圧密時間の計算", {}},
        {kCvRowForm,
         R::Row,
         "圧密係数",
         {{0, "層番号", ""},
          {1, "土質", ""},
          {2, "排水条件", ""},
          {3, "層厚 H", kM},
          {4, "P0", kKpa},
          {5, "除荷重 U", kKpa},
          {6, "増加応力 ΔP", kKpa},
          {7, "Cv を読む圧力", kKpa},
          {8, "圧密係数 Cv", kCv}}},
        {kCvNoteForm, R::Note, "Cv：", {}},
        {kUnitHeadingForm, R::Heading, "圧密単位", {}},
        {kUnitRowForm,
         R::Row,
         "圧密単位",
         {{0, "基準層", ""},
          {1, "層厚 H'", kM},
          {2, "排水距離", kM},
          {3, "圧密係数 Cv", kCv},
          {4, "沈下量の増分", kM}}},
        {kUnitEndForm, R::End, "", {}},
        {kDrainUnitHeadingForm, R::Heading, "圧密単位（バーチカルドレーン）", {}},
        {kDrainUnitRowForm,
         R::Row,
         "圧密単位（バーチカルドレーン）",
         {{0, "基準層", ""},
          {1, "ドレーン", ""},
          {2, "排水距離", kM},
          {3, "圧密係数 Cv", kCv},
          {4, "有効径 de", kM},
          {5, "係数 α", ""},
          {6, "水平圧密係数 Ch", kCv},
          {7, "沈下量の増分", kM}}},
        {kDrainUnitEndForm, R::End, "", {}},
        {kDrainFactorHeadingForm, R::Heading, "ドレーンの係数", {}},
        {kDrainFactorRowForm,
         R::Row,
         "ドレーンの係数",
         {{0, "基準層", ""}, {1, "F(n)", ""}, {2, "ウェルレジスタンス L", ""}}},
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
         {{0, "業務名", "", -1, H::Project}, {1, "観測点", "", -1, H::Position}}},
        {kRegressionForm,
         R::Title,
         "回帰の結果",
         {{1, "回帰開始日 Sa", ""},
          {2, "回帰終了日 Sa'", ""},
          {3, "切片 b", "日/m"},
          {4, "勾配 a", "1/m"},
          {5, "決定係数 r²", ""},
          {6, "最終沈下量", ""}}},
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
