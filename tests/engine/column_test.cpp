#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/column.hpp"

using namespace kova::engine;

namespace {

struct Section {
    std::unique_ptr<CalcInput> in = std::make_unique<CalcInput>();
    int next = 1;

    std::vector<int> Points(std::initializer_list<std::pair<double, double>> pts) {
        std::vector<int> ids;
        for (auto [x, y] : pts) {
            in->nodes[next] = Node{x, y};
            in->node_ymin = std::min(in->node_ymin, y);
            in->node_ymax = std::max(in->node_ymax, y);
            ids.push_back(next++);
        }
        return ids;
    }
    template <typename Rec>
    void Outline(Rec& r, const std::vector<int>& ids) {
        r.vertex_count = static_cast<i16>(ids.size());
        for (std::size_t k = 0; k < ids.size(); ++k) r.vertices[k] = ids[k];
    }
    int Layer(std::initializer_list<std::pair<double, double>> pts, double gamma) {
        int i = in->soil_count++;
        Outline(in->soil[i], Points(pts));
        in->soil[i].unit_weight = gamma;
        return i;
    }
    void Embankment(std::initializer_list<std::pair<double, double>> pts) {
        Outline(in->blocks[in->block_count++], Points(pts));
    }
    void Cut(std::initializer_list<std::pair<double, double>> pts, double gamma) {
        int i = in->cut_count++;
        Outline(in->cuts[i], Points(pts));
        in->cuts[i].unit_weight = gamma;
    }
};

}  // namespace

TEST(EngineSoilColumn, LayersFromTheTopWithOverburden) {
    Section s;
    // Given bottom layer first: the column is ordered from the top.
    int lower = s.Layer({{0, -2}, {10, -2}, {10, -6}, {0, -6}}, 16);
    int upper = s.Layer({{0, 0}, {10, 0}, {10, -2}, {0, -2}}, 18);
    SoilColumn c;
    double ground = layers_at(*s.in, c, 5);
    overburden_at_layers(*s.in, c);
    EXPECT_DOUBLE_EQ(ground, 0);
    ASSERT_EQ(c.count, 2);
    EXPECT_EQ(c.layer[0], upper);
    EXPECT_EQ(c.layer[1], lower);
    EXPECT_DOUBLE_EQ(c.top[1], -2);
    EXPECT_DOUBLE_EQ(c.bottom[1], -6);
    EXPECT_NEAR(c.p0[0], 18.0, 1e-9);
    EXPECT_NEAR(c.p0[1], 36.0 + 32.0, 1e-9);
    EXPECT_NEAR(c.depth[1], 4, 1e-9);
}

TEST(EngineSoilColumn, VerticesEdgesAndTouchingPoints) {
    Section s;
    s.Layer({{0, 0}, {5, 1}, {10, 0}, {10, -3}, {0, -3}}, 18);  // vertex at x=5
    s.Layer({{10, 0}, {12, 2}, {14, 0}}, 18);                   // touches x=10 at a point
    SoilColumn c;
    // Through a vertex: both edges report the same crossing.
    EXPECT_DOUBLE_EQ(layers_at(*s.in, c, 5), 1);
    ASSERT_EQ(c.count, 1);
    EXPECT_DOUBLE_EQ(c.top[0], 1);
    EXPECT_DOUBLE_EQ(c.bottom[0], -3);
    // Along the vertical right edge of the first layer; the triangle only
    // touches the vertical there.
    EXPECT_DOUBLE_EQ(layers_at(*s.in, c, 10), 0);
    ASSERT_EQ(c.count, 1);
    EXPECT_EQ(c.layer[0], 0);
    EXPECT_DOUBLE_EQ(c.bottom[0], -3);
    // Nothing at all.
    EXPECT_DOUBLE_EQ(layers_at(*s.in, c, 50), -9999.99);
    EXPECT_EQ(c.count, 0);
}

TEST(EngineSoilColumn, EmbankmentRaisesGroundOnly) {
    Section s;
    s.Layer({{0, 0}, {10, 0}, {10, -3}, {0, -3}}, 18);
    s.Embankment({{12, 0}, {14, 2.5}, {16, 0}});
    s.Embankment({{2, 0}, {4, 2}, {6, 0}});
    SoilColumn c;
    EXPECT_DOUBLE_EQ(layers_at(*s.in, c, 14), 2.5);
    EXPECT_EQ(c.count, 0);
    EXPECT_DOUBLE_EQ(layers_at(*s.in, c, 4), 2);
    ASSERT_EQ(c.count, 1);
    EXPECT_NEAR(c.depth[0], 3.5, 1e-9);  // ground 2, mid -1.5
}

TEST(EngineSoilColumn, OverlappingLayerIsDropped) {
    Section s;
    s.Layer({{0, 0}, {10, 0}, {10, -4}, {0, -4}}, 18);
    s.Layer({{0, -2}, {10, -2}, {10, -8}, {0, -8}}, 16);  // overlaps the first
    SoilColumn c;
    layers_at(*s.in, c, 5);
    ASSERT_EQ(c.count, 1);
    EXPECT_EQ(c.layer[0], 0);
}

TEST(EngineSoilColumn, SectionBeyondThousandMetres) {
    Section s;
    s.Layer({{0, 1500}, {10, 1500}, {10, 1490}, {0, 1490}}, 18);
    s.Layer({{0, -1490}, {10, -1490}, {10, -1500}, {0, -1500}}, 18);
    SoilColumn c;
    EXPECT_DOUBLE_EQ(layers_at(*s.in, c, 5), 1500);
    ASSERT_EQ(c.count, 2);
    EXPECT_DOUBLE_EQ(c.bottom[1], -1500);
}

TEST(EngineSoilColumn, CutUnloading) {
    Section s;
    s.Layer({{0, 0}, {10, 0}, {10, -3}, {0, -3}}, 18);
    s.Cut({{0, 10}, {10, 10}, {10, 12}, {0, 12}}, 18);
    s.Cut({{0, 14}, {10, 14}, {10, 15}, {0, 15}}, 20);
    CutColumn cuts;
    s.in->UseCutPreload = 1;
    EXPECT_NEAR(cut_unloading_at(*s.in, cuts, 5), 36.0 + 20.0, 1e-9);
    ASSERT_EQ(cuts.cut_count, 2);
    EXPECT_EQ(cuts.cut_index[0], 1);  // highest first
    EXPECT_NEAR(cuts.cut_load[1], 36.0, 1e-9);
    s.in->UseCutPreload = 0;
    EXPECT_EQ(cut_unloading_at(*s.in, cuts, 5), 0);
    EXPECT_EQ(cuts.cut_count, 0);
}
