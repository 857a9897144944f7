// Runs whose calculation positions are computed on several threads against
// the same runs on one thread: every file byte for byte, the messages in
// the same order, the same state left behind, and the same files missing
// when a report cannot be written. (The golden report sets run on several
// threads too.)
#include <gtest/gtest.h>

#include <map>

#include "cal_builder.hpp"

using namespace kova::engine;
using namespace enginetest;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> FolderBytes(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) out[e.path().filename().string()] = kova::test::ReadBytes(e.path());
    return out;
}

void ExpectSameRun(const EngineRun& one, const EngineRun& many) {
    EXPECT_EQ(one.code, many.code);
    const auto a = FolderBytes(one.dir.path), b = FolderBytes(many.dir.path);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        auto it = b.find(name);
        ASSERT_NE(it, b.end()) << name << " missing";
        EXPECT_TRUE(bytes == it->second) << name << " differs";
    }
    ASSERT_EQ(one.msgs.Count(), many.msgs.Count());
    for (std::size_t i = 0; i < one.msgs.Count(); ++i) {
        EXPECT_EQ(one.msgs.shown[i].text, many.msgs.shown[i].text) << i;
        EXPECT_EQ(one.msgs.shown[i].caption, many.msgs.shown[i].caption) << i;
    }
    // The state of the last position handed on.
    EXPECT_EQ(one.st->position, many.st->position);
    EXPECT_EQ(one.st->position_settlement, many.st->position_settlement);
    EXPECT_EQ(one.st->history.stage_count, many.st->history.stage_count);
    EXPECT_EQ(one.st->history.stage_total, many.st->history.stage_total);
    EXPECT_EQ(one.st->timing.stage_unit_increment, many.st->timing.stage_unit_increment);
    for (int p = 0; p < one.st->input.position_count; ++p)
        EXPECT_EQ(one.st->input.positions[p].unloading, many.st->input.positions[p].unloading) << p;
}

// Eleven positions across a section of three clay layers (the middle one
// without Cv curve, and only in the left half, so that some positions show
// its message and others not), a cut, and loads in three stages with
// loading periods.
Input Section() {
    Input f;
    auto layer = [&](double x0, double x1, double top, double bottom, int method) {
        Layer l = Clay({f.Point(x0, top), f.Point(x1, top), f.Point(x1, bottom), f.Point(x0, bottom)}, 17, method);
        l.cv.pts = {{10, 0.05}, {100, 0.02}, {1000, 0.01}};
        l.drainage = method % 2;
        return l;
    };
    f.layers.push_back(layer(0, 120, 0, -3, 0));
    Layer middle = layer(0, 60, -3, -7, 1);
    middle.cv.pts.clear();
    f.layers.push_back(middle);
    f.layers.push_back(layer(60, 120, -3, -7, 2));
    f.layers.push_back(layer(0, 120, -7, -12, 0));
    f.blocks.push_back(Block{{f.Point(10, 0), f.Point(20, 3), f.Point(50, 3), f.Point(60, 0)}, 19, 1, 0, 30});
    f.blocks.push_back(Block{{f.Point(60, 0), f.Point(72, 4), f.Point(90, 4), f.Point(105, 0)}, 18, 3, 200, 60});
    f.cuts.push_back(Block{{f.Point(100, 0), f.Point(120, 0), f.Point(120, -1), f.Point(100, -1)}, 16});
    f.strip_loads.push_back(Load{15, 30, 3, 80, 3, 2, 90, 20});
    f.point_loads.push_back(Load{120, 95, 4.5, 0, 0, 3, 200, 0});
    f.walls.push_back(Wall{62, 5, -9});
    for (int i = 0; i < 11; ++i) f.positions.push_back({5 + 10.5 * i, "No." + std::to_string(i + 1)});
    return f;
}

}  // namespace

TEST(ParallelPositions, FilesMessagesAndStateAsOnOneThread) {
    const auto lines = Section().Lines();
    EngineRun one(lines, 1);
    ASSERT_EQ(one.code, 0);
    // The section is meant to exercise the message order: some positions
    // show the missing curve, not all.
    ASSERT_GT(one.msgs.Count(), 1u);
    ASSERT_LT(one.msgs.Count(), 11u);
    ASSERT_EQ(one.st->position, 10);
    for (int threads : {3, 16}) {
        SCOPED_TRACE(threads);
        EngineRun many(lines, threads);
        ExpectSameRun(one, many);
    }
}

TEST(ParallelPositions, UnwritableReportEndsTheRunAtTheSamePosition) {
    const auto lines = Section().Lines();
    // A folder in place of position 5's drawing: its files before it are
    // written, nothing of positions 6 and later, then the message.
    auto block = [](const fs::path& dir) { fs::create_directory(dir / "TNK_Z_05.PZK"); };
    EngineRun one(lines, 1, block);
    ASSERT_EQ(one.code, 1);
    ASSERT_FALSE(one.msgs.shown.empty());
    EXPECT_NE(one.msgs.Last().text.find("TNK_Z_05.PZK"), std::string::npos);
    EXPECT_TRUE(fs::exists(one.dir.path / "TK_DT_05.PDT"));
    EXPECT_FALSE(fs::exists(one.dir.path / "TK_DT_06.PDT"));
    EXPECT_FALSE(fs::exists(one.dir.path / "tnk1.csv"));
    for (int threads : {4, 11}) {
        SCOPED_TRACE(threads);
        EngineRun many(lines, threads, block);
        ExpectSameRun(one, many);
    }
}
