// TNK_Z_nn.PZK and TNK_MAX.PZK: the section with the settled ground surface
// beside the settlement along the section.
#include <cmath>

#include "engine/report.hpp"
#include "engine/report_common.hpp"
#include "print/text_board.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

// The profile's ground mark for an abscissa without soil layer or
// embankment.
bool has_ground(const ProfileRow& r) { return r.ground > -9999.9; }

}  // namespace

void draw_settlement_profile(const EngineState& st, int code) {
    if (st.await_profile) st.await_profile();
    const CalcInput& in = st.input;
    const bool isMax = code == kMaxProfileCode;
    const std::string name = isMax ? "TNK_MAX.PZK" : CFormat("TNK_Z_%02d.PZK", code + 1);
    print::DrawingWriter w = open_report_drawing(st, name, print::kSizeSection);

    draw_section_frame(w);
    w.Line(0, 0, 3000, 6000, 3000, 500, 0, 2);
    w.Line(0, 0, 3000, 6000, 4100, 6000, 0, 2);

    const SectionScale sc = section_scale(in);
    draw_section_blocks_and_loads(w, in, sc);

    // Greatest settlement: the first row with the largest value above 0.
    int maxRow = 0;
    double M = 0;
    for (int i = 0; i < kProfileRows; ++i)
        if (st.profile[i].settlement > M) {
            M = st.profile[i].settlement;
            maxRow = i;
        }

    if (sc.valid) {
        // Settled ground; rows without ground break the line.
        bool havePrev = false;
        int px = 0, py = 0;
        for (int i = 0; i < kProfileRows; ++i) {
            const ProfileRow& r = st.profile[i];
            if (!has_ground(r)) {
                havePrev = false;
                continue;
            }
            const int x = dint((sc.ymax - r.ground + r.settlement) * sc.sy);
            const int y = -dint((r.x - sc.xmin) * sc.sx);
            if (havePrev) w.Line(sc.ox(), sc.oy(), px, py, x, y, 0, 1);
            px = x;
            py = y;
            havePrev = true;
        }
        draw_abscissa_scale(w, sc, true);

        const double Xm = isMax ? st.profile[maxRow].x : in.positions[code].x;
        draw_abscissa_mark(w, sc, Xm, 4100);
        draw_elevation_scale(w, sc);
    }
    draw_section_captions(w);
    w.Text(0, 0, 3400, 6400, 100, 100, 90, 2, " 沈");
    w.Text(0, 0, 3600, 6400, 100, 100, 90, 2, " 下");
    w.Text(0, 0, 3800, 6400, 100, 100, 90, 2, " 量");
    w.Text(0, 0, 4000, 6375, 100, 100, 90, 2, "(m)");

    if (sc.valid) {
        // Settlement scale: M >= 0, so E is at least 0.2 m.
        const double E = std::floor((M + 0.2) * 10) * 0.1;
        const double sp = 1100 / E;
        const bool coarse = E >= 0.20001;
        const double step = coarse ? 0.2 : 0.05;
        for (int i = 0; i < kMaxScaleSteps; ++i) {
            const double s = i * step;
            // Ticks strictly below E; the margin keeps a tick that equals E
            // by decimal arithmetic out whatever the binary rounding.
            if (!(s < E - 1e-9)) break;
            const int q = dint(s * sp);
            w.Line(3000, 6000, q, 50, q, 0, 0, 2);
            w.Line(3000, 6000, q, 0, q, -5500, 1, 1);
            std::string label = CFormat(coarse ? "%1.1lf" : "%1.2lf", s);
            w.Text(3000, 6000, q + 35, dint(label_bytes(label) * 35) + 70, 70, 70, 90, 2, label);
        }
        const int oy = 6000 - sc.f;
        for (int i = 0; i + 1 < kProfileRows; ++i) {
            const ProfileRow& a = st.profile[i];
            const ProfileRow& b = st.profile[i + 1];
            w.Line(3000, oy, dint(a.settlement * sp), -dint((a.x - sc.xmin) * sc.sx),
                   dint(b.settlement * sp), -dint((b.x - sc.xmin) * sc.sx), 0, 2);
        }
    }
    w.Text(0, 0, 300, 4000, 140, 140, 90, 2, "沈  下  予  測  図");

    if (isMax) {
        w.Line(0, 0, 150, 1500, 150, 0, 0, 2);
        w.Line(0, 0, 0, 900, 150, 900, 0, 1);
        w.Line(0, 0, 0, 1500, 150, 1500, 0, 2);
        w.Text(0, 0, 130, 1450, 100, 100, 90, 2, "最大沈下量");
        std::string v = real_text("%1.3lf m", M);
        w.Text(0, 0, 130, dint(label_bytes(v) * 100 * 0.5) + 100, 100, 100, 90, 2, v);
    } else {
        const CalcPoint& p = in.positions[code];
        const double T = st.history.stage_total[st.history.stage_count];
        w.Line(0, 0, 150, 1500, 150, 0, 0, 1);
        w.Line(0, 0, 300, 1500, 300, 0, 0, 1);
        w.Line(0, 0, 450, 1500, 450, 0, 0, 2);
        w.Line(0, 0, 0, 1000, 450, 1000, 0, 1);
        w.Line(0, 0, 0, 1500, 450, 1500, 0, 2);
        w.Text(0, 0, 130, 1450, 100, 100, 90, 2, " 名  称");
        w.Text(0, 0, 280, 1450, 100, 100, 90, 2, " 位  置");
        w.Text(0, 0, 430, 1450, 100, 100, 90, 2, "沈 下 量");
        // The name keeps to its cell (950 down to 50).
        w.Text(0, 0, 130, 950, 100, 100, 90, 2, print::FitText(p.name, 100, 900));
        std::string xs = real_text("%1.3lf m", p.x);
        w.Text(0, 0, 280, dint(label_bytes(xs) * 100 * 0.5) + 100, 100, 100, 90, 2, xs);
        std::string ts = real_text("%1.3lf m", T);
        w.Text(0, 0, 430, dint(label_bytes(ts) * 100 * 0.5) + 100, 100, 100, 90, 2, ts);
    }
    w.Close();
}

}  // namespace kova::engine
