// TK_DATA.PDT, the condition report, and KT_ZUMEN.PZK, the section drawing.
#include "engine/report.hpp"

#include "engine/report_common.hpp"
#include "print/forms.hpp"
#include "print/text_board.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

using print::Dashes;
namespace field = print::field;

void write_load_rows(print::PageWriter& p, const LoadRec& r, int number) {
    p.Form(false, print::kLoadRowForm);
    p.Field(field::LoadRow::No, CFormat("%3d", number));
    p.Field(field::LoadRow::X, real_text("%8.3lf", r.x1));
    p.Field(field::LoadRow::Y, real_text("%8.3lf", r.y1));
    p.Field(field::LoadRow::Load, real_text("%8.3lf", r.load));
    p.Field(field::LoadRow::StartDay, CFormat("%8d", r.start_day));
    p.Field(field::LoadRow::Days, CFormat("%8d", r.days));
}

}  // namespace

void draw_section_plan(const EngineState& st) {
    const CalcInput& in = st.input;
    print::DrawingWriter w = open_report_drawing(st, "KT_ZUMEN.PZK", print::kSizeSection);
    draw_section_frame(w);
    const SectionScale sc = section_scale(in);
    draw_section_blocks_and_loads(w, in, sc);
    draw_abscissa_scale(w, sc, false);
    if (sc.valid) {
        const int oy = 6000 - sc.f;
        for (int i = 0; i < in.position_count; ++i) {
            const CalcPoint& p = in.positions[i];
            const int l = sc.u(p.x);
            // A position off the sheet is left out, its texts with it.
            if (!draw_abscissa_mark(w, sc, p.x, 3800)) continue;
            w.Text(0, oy, 3500, 80 - l, 70, 70, 0, 2, real_text("%7.3lf", p.x));
            // The name ends at 3750 and keeps off the section and its
            // abscissa labels (right of 3000).
            const std::string name = print::FitText(p.name, 70, 3750 - 3000);
            w.Text(0, oy, 3750 - dint(label_bytes(name) * 70 * 0.5), -l - 15, 70, 70, 0, 2, name);
        }
    }
    draw_elevation_scale(w, sc);
    draw_section_captions(w);
    w.Text(0, 0, 300, 4000, 140, 140, 90, 2, "予  測  地  点  一  覧");
    w.Close();
}

void write_condition_report(const EngineState& st) {
    const CalcInput& in = st.input;
    print::PageWriter p = open_report_page(st, "TK_DATA.PDT", "検討条件");
    p.Form(true, print::kConditionTitleForm);
    p.Field(field::ConditionTitle::Project, in.ProjectTitle);
    p.Form(false, print::kSoilConditionHeadingForm);
    for (int i = 0; i < in.soil_count; ++i) {
        const SoilLayerRec& s = in.soil[i];
        p.Form(false, print::kSoilConditionRowForm);
        p.Field(field::SoilConditionRow::Layer, CFormat("%3d", i + 1));
        p.Field(field::SoilConditionRow::Soil, kind_text(s.soil_kind));
        p.Field(field::SoilConditionRow::Method, method_text(s.method, in.UseSandImmediate));
        p.Field(field::SoilConditionRow::Drainage, s.drainage == 0 ? " 両面 " : " 片面 ");
        p.Field(field::SoilConditionRow::UnitWeight, real_text("%7.3lf", s.unit_weight));
        p.Field(field::SoilConditionRow::NValue, CFormat("%4d", s.n_value));
        p.Field(field::SoilConditionRow::Cc, real_text("%8.3lf", s.cc));
    }
    if (in.UseCutPreload != 0) {
        for (int i = 0; i < in.cut_count; ++i) {
            p.Form(false, print::kSoilConditionRowForm);
            p.Field(field::SoilConditionRow::Layer, CFormat("*%2d", i + 1));
            p.Field(field::SoilConditionRow::Soil, "切り土");
            p.Field(field::SoilConditionRow::Method, Dashes(5));
            p.Field(field::SoilConditionRow::Drainage, Dashes(3));
            p.Field(field::SoilConditionRow::UnitWeight, real_text("%7.3lf", in.cuts[i].unit_weight));
            p.Field(field::SoilConditionRow::NValue, Dashes(2));
            p.Field(field::SoilConditionRow::Cc, Dashes(4));
        }
    }
    p.Form(false, print::kSoilConditionEndForm);
    bool anyDrain = false;
    for (int i = 0; i < in.soil_count; ++i)
        if (in.soil[i].drain_kind != 0) anyDrain = true;
    if (anyDrain) {
        p.Form(false, print::kDrainConditionHeadingForm);
        for (int i = 0; i < in.soil_count; ++i) {
            const SoilLayerRec& s = in.soil[i];
            if (s.drain_kind == 0) continue;
            p.Form(false, print::kDrainConditionRowForm);
            p.Field(field::DrainConditionRow::Layer, CFormat("%3d", i + 1));
            if (s.drain_kind == 1) p.Field(field::DrainConditionRow::Arrangement, "ドレーン三角");
            if (s.drain_kind == 2) p.Field(field::DrainConditionRow::Arrangement, "ドレーン四角");
            p.Field(field::DrainConditionRow::Spacing, real_text("%8.3lf", s.drain_spacing));
            p.Field(field::DrainConditionRow::Diameter, real_text("%8.3lf", s.drain_diameter));
            p.Field(field::DrainConditionRow::Alpha, real_text("%8.3lf", s.alpha));
            p.Field(field::DrainConditionRow::PermeabilityRatio, real_text("%8.6lf", s.perm_ratio));
            p.Field(field::DrainConditionRow::ShareRatio, real_text("%8.3lf", s.share_ratio));
            p.Field(field::DrainConditionRow::ReplaceRatio, real_text("%8.3lf", s.replace_ratio));
        }
        p.Form(false, print::kDrainConditionEndForm);
    }
    if (in.block_count > 0) {
        p.Reserve(in.block_count + 4);
        p.Form(false, print::kEmbankmentHeadingForm);
        for (int i = 0; i < in.block_count; ++i) {
            const LoadBlockRec& b = in.blocks[i];
            p.Form(false, print::kEmbankmentRowForm);
            p.Field(field::EmbankmentRow::No, CFormat("%3d", i + 1));
            p.Field(field::EmbankmentRow::UnitWeight, real_text("%8.3lf", b.unit_weight));
            p.Field(field::EmbankmentRow::StartDay, CFormat("%8d", b.start_day));
            p.Field(field::EmbankmentRow::Days, CFormat("%8d", b.days));
        }
    }
    if (in.point_load_count > 0) {
        p.Reserve(in.point_load_count + 4);
        p.Form(false, print::kPointLoadHeadingForm);
        for (int i = 0; i < in.point_load_count; ++i) write_load_rows(p, in.point_loads[i], i + 1);
    }
    if (in.line_load_count > 0) {
        p.Reserve(in.line_load_count + 4);
        p.Form(false, print::kLineLoadHeadingForm);
        for (int i = 0; i < in.line_load_count; ++i) write_load_rows(p, in.line_loads[i], i + 1);
    }
    if (in.strip_load_count > 0) {
        p.Reserve(in.strip_load_count + 4);
        p.Form(false, print::kStripLoadHeadingForm);
        for (int i = 0; i < in.strip_load_count; ++i) {
            const LoadRec& r = in.strip_loads[i];
            p.Form(false, print::kStripLoadRowForm);
            p.Field(field::StripLoadRow::No, CFormat("%3d", i + 1));
            p.Field(field::StripLoadRow::X1, real_text("%8.3lf", r.x1));
            p.Field(field::StripLoadRow::Y1, real_text("%8.3lf", r.y1));
            p.Field(field::StripLoadRow::X2, real_text("%8.3lf", r.x2));
            p.Field(field::StripLoadRow::Y2, real_text("%8.3lf", r.y2));
            p.Field(field::StripLoadRow::Load, real_text("%8.3lf", r.load));
            p.Field(field::StripLoadRow::StartDay, CFormat("%8d", r.start_day));
            p.Field(field::StripLoadRow::Days, CFormat("%8d", r.days));
        }
    }
    draw_section_plan(st);
    p.Form(true, "", "KT_ZUMEN.PZK");
    p.Form(true, "", "TNK_MAX.PZK");
    p.Close();
}

}  // namespace kova::engine
