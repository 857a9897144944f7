#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "cal_builder.hpp"
#include "engine/reader.hpp"
#include "testing/fakes.hpp"

using namespace kova::engine;
using namespace enginetest;

TEST(EngineReader, TablesUnitsAndNumbering) {
    Input f;
    f.title = "盛土 試験";
    // Points written in reverse order of their numbers: found by number.
    f.points = {{110, -4}, {110, 0}, {10, 0}};
    f.points.insert(f.points.begin(), {10, -4});
    Layer a = Clay({3, 2, 1, 4}, 18, 0);  // 10..110
    a.elogp.pts = {{5, 1.20}};
    a.mv.pts = {{5, 2.0}};
    a.cv.pts = {{5, 100}};
    Layer b = a, c = a;
    c.elogp.pts = {{5, 1.5}, {50, 1.1}};
    f.layers = {a, b, c};
    f.sand_curves[1].pts = {{20, 0.8}};
    TempDir dir;
    // Renumber: point lines from the highest number down.
    auto lines = f.Lines();
    std::size_t head = 0;
    while (lines[head].find("境界点数") == std::string::npos) ++head;
    std::reverse(lines.begin() + static_cast<long>(head) + 1, lines.begin() + static_cast<long>(head) + 5);
    WriteLines(dir.path / "CAL_TNK.DAT", lines);

    auto in = std::make_unique<CalcInput>();
    kova::RecordingMessages msgs;
    read_calc_input(dir.path, *in, msgs);
    EXPECT_EQ(msgs.Count(), 0u);
    EXPECT_EQ(in->ProjectTitle, "盛土 試験");
    EXPECT_EQ(in->node_count, 4);
    EXPECT_DOUBLE_EQ(in->nodes[1].x, 10);
    EXPECT_DOUBLE_EQ(in->nodes[1].y, -4);
    EXPECT_DOUBLE_EQ(in->nodes[3].y, 0);
    EXPECT_DOUBLE_EQ(in->xmin, 10);
    EXPECT_DOUBLE_EQ(in->xmax, 110);
    ASSERT_EQ(in->soil_count, 3);
    EXPECT_EQ(in->soil[2].curve_elogp, 3);
    EXPECT_EQ(in->soil[2].curve_cv, 3);
    EXPECT_EQ(in->elogp[3].count, 2);
    EXPECT_DOUBLE_EQ(in->elogp[3].value[1], 1.1);
    EXPECT_DOUBLE_EQ(in->elogp[1].pressure[0], 50);
    EXPECT_DOUBLE_EQ(in->elogp[1].value[0], 1.20);
    EXPECT_DOUBLE_EQ(in->mv[1].pressure[0], 50);
    EXPECT_NEAR(in->mv[1].value[0], 0.2, 1e-15);
    EXPECT_NEAR(in->cv[1].value[0], 0.01, 1e-15);
    EXPECT_DOUBLE_EQ(in->sand[2].pressure[0], 20);  // sand curves as written
    EXPECT_DOUBLE_EQ(in->sand[2].value[0], 0.8);
    EXPECT_EQ(in->UseSandImmediate, 1);
    EXPECT_EQ(in->MvPMethod, 1);
}
