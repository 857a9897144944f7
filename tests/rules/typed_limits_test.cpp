// The typed ranges of the table of limits against the engine's own checks
// (curves, the factor beta and a layer's unit weight):
// a curve value the dialogs let through is one the engine computes with,
// and one the engine refuses is refused where it is typed. The files keep
// their wider ranges, so that every file that opened once still opens.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/checks.hpp"
#include "rules/limits.hpp"

namespace kova {
namespace {

using engine::CalcInput;
using engine::CurveRec;

// Two usable points: pressure rising, value falling.
CurveRec Usable() {
    CurveRec c;
    c.count = 2;
    c.pressure[0] = 10, c.pressure[1] = 100;
    c.value[0] = 1.2, c.value[1] = 1.0;
    return c;
}

// One clay layer by `method` (curves numbered 1), and one sand layer by
// B.K.Hough with the immediate settlement of sand on.
CalcInput TwoLayers(int method) {
    CalcInput in;
    in.UseSandImmediate = 1;
    in.soil_count = 2;
    in.soil[0].soil_kind = 0;
    in.soil[0].method = static_cast<engine::i16>(method);
    in.soil[0].curve_elogp = in.soil[0].curve_mv = in.soil[0].curve_cv = 1;
    in.soil[1].soil_kind = 1;
    in.soil[1].method = engine::kMethodHough;
    in.soil[1].n_value = 10;
    in.soil[0].beta = in.soil[1].beta = 1;
    in.soil[0].unit_weight = in.soil[1].unit_weight = 17;
    in.elogp[1] = in.mv[1] = in.cv[1] = Usable();
    for (auto& s : in.sand) s = Usable();
    return in;
}

// Where each typed item lands in the engine's input: on the first pressure
// or the last value, the other point moved along so that the order stays as
// the engine wants it (pressures rising, void ratios falling).
void Pressure(CurveRec& c, double v) {
    c.pressure[0] = v;
    c.pressure[1] = 10 * std::abs(v) + 1;
}
void Falling(CurveRec& c, double v) {
    c.value[1] = v;
    c.value[0] = std::abs(v) + 1;
}

struct Place {
    Item item;
    int method;
    void (*put)(CalcInput&, double);
};

TEST(TypedLimits, CurveBoundsAreTheEngines) {
    const Place places[] = {
        {Item::CurvePressure, engine::kMethodELogP, [](CalcInput& in, double v) { Pressure(in.elogp[1], v); }},
        {Item::VoidRatio, engine::kMethodELogP, [](CalcInput& in, double v) { Falling(in.elogp[1], v); }},
        {Item::MvValue, engine::kMethodMv, [](CalcInput& in, double v) { in.mv[1].value[1] = v; }},
        {Item::CvValue, engine::kMethodELogP, [](CalcInput& in, double v) { in.cv[1].value[1] = v; }},
        {Item::SandPressure, engine::kMethodELogP, [](CalcInput& in, double v) {
             for (auto& s : in.sand) Pressure(s, v);
         }},
        {Item::SandVoidRatio, engine::kMethodELogP, [](CalcInput& in, double v) {
             for (auto& s : in.sand) Falling(s, v);
         }},
        {Item::ReductionFactor, engine::kMethodMv, [](CalcInput& in, double v) { in.soil[0].beta = v; }},
        {Item::SoilUnitWeight, engine::kMethodELogP, [](CalcInput& in, double v) { in.soil[0].unit_weight = v; }},
    };
    ASSERT_TRUE(engine::curve_faults(TwoLayers(engine::kMethodELogP)).empty());
    for (const Place& p : places) {
        const TypedLimit t = TypedLimitOf(p.item);
        const double tiny = std::nextafter(t.lo, 1.0);
        // Above the top only beta is the engine's own bound; the curves'
        // tops are the reader's.
        const double above = p.item == Item::ReductionFactor ? std::nextafter(t.hi, 2.0) : t.hi;
        for (double v : {-1.0, t.lo, tiny, 0.5, t.hi, above}) {
            CalcInput in = TwoLayers(p.method);
            p.put(in, v);
            const bool engineRefuses = !engine::curve_faults(in).empty();
            EXPECT_EQ(!WithinTypedLimit(p.item, v), engineRefuses) << ItemName(p.item) << " " << v;
        }
        // Every such file value still reads: the file range keeps 0.
        EXPECT_TRUE(WithinLimit(p.item, 0)) << ItemName(p.item);
        EXPECT_FALSE(WithinTypedLimit(p.item, 0)) << ItemName(p.item);
    }
}

// No typed range is wider than the file's, so a typed value always saves
// and reads back; the factor beta is a reduction, 0 < beta <= 1.
TEST(TypedLimits, NarrowerThanTheFileRange) {
    for (int i = 0; i < static_cast<int>(Item::Count_); ++i) {
        const Item item = static_cast<Item>(i);
        EXPECT_GE(TypedLimitOf(item).lo, LimitOf(item).lo) << ItemName(item);
        EXPECT_LE(TypedLimitOf(item).hi, LimitOf(item).hi) << ItemName(item);
    }
    for (double beta : {0.0, 0.001, 1.0, 1.0000001})
        EXPECT_EQ(WithinTypedLimit(Item::ReductionFactor, beta), beta > 0 && beta <= 1) << beta;
}

}  // namespace
}  // namespace kova
