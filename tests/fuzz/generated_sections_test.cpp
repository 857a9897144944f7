// Sections generated from the worked example and the full-capacity input by
// moving one boundary point or changing one load at random (a fixed seed,
// so every run tries the same sections): every run either stops with a
// message, or keeps the whole engine property, every printed figure and
// every stage's stresses included.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/properties.hpp"
#include "model/calcinput.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/cformat.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/listline.hpp"

namespace {

namespace fs = std::filesystem;

// The same numbers on every standard library (no library distribution).
class Draw {
public:
    explicit Draw(std::uint64_t seed) : s_(seed) {}
    std::uint64_t Next() {
        s_ = s_ * 6364136223846793005ull + 1442695040888963407ull;
        return s_ >> 33;
    }
    double Real(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Next() % 1000001) / 1e6; }
    std::size_t Index(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

private:
    std::uint64_t s_;
};

std::string WorkedInput() {
    kova::test::TempDir app;
    fs::copy_file(fs::path(KOVA_SOURCE_DIR) / "data" / "BKHough1.CSV", app.path() / "BKHough1.CSV");
    kova::RecordingMessages ui;
    auto m = std::make_unique<kova::Model>();
    kova::ResetModel(*m, app.path(), ui);
    kova::ProgramState ps;
    ps.AppPath = app.path();
    EXPECT_TRUE(kova::ReadCondFile(*m, ps, fs::path(KOVA_SOURCE_DIR) / "examples" / "road_embankment.kov", ui));
    EXPECT_TRUE(kova::WriteCalcInput(*m, app.path(), ui));
    return kova::test::ReadBytes(app.path() / "CAL_TNK.DAT");
}

std::vector<std::string> Lines(const std::string& cp932) {
    std::vector<std::string> out;
    const std::string text = kova::DecodeCp932Text(cp932);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

bool EndsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// The fields of a line before its quoted label, and the label.
std::vector<std::string> Fields(const std::string& line, std::string& label) {
    const std::size_t quote = line.find('"');
    label = quote == std::string::npos ? "" : line.substr(quote);
    std::vector<std::string> out;
    std::size_t at = 0;
    const std::string head = line.substr(0, quote);
    while (at < head.size()) {
        std::size_t comma = head.find(',', at);
        if (comma == std::string::npos) comma = head.size();
        out.push_back(head.substr(at, comma - at));
        at = comma + 1;
    }
    return out;
}

// `cases` sections from `input`, each with one boundary point moved by up
// to `reach` metres, or one load (a point, line or strip load, an
// embankment's unit weight) set between -300 and 300.
void GeneratedSectionsKeepTheProperty(const std::string& input, int cases, double reach, std::uint64_t seed) {
    const std::vector<std::string> lines = Lines(input);
    std::vector<std::size_t> points, loads;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (EndsWith(lines[i], "\"境界点座標\"")) points.push_back(i);
        if (EndsWith(lines[i], "\"荷重\"") || EndsWith(lines[i], "\"有効重量\"")) loads.push_back(i);
    }
    ASSERT_GT(points.size(), 10u);
    ASSERT_GT(loads.size(), 2u);
    kova::test::TempDir scratch;
    ASSERT_EQ(kova::fuzz::CheckEngineRun(input, scratch.path()), "");
    Draw draw(seed);
    int ran = 0;
    for (int c = 0; c < cases; ++c) {
        std::vector<std::string> changed = lines;
        const bool point = draw.Index(3) != 0;
        const std::size_t at = point ? points[draw.Index(points.size())] : loads[draw.Index(loads.size())];
        std::string label;
        std::vector<std::string> f = Fields(changed[at], label);
        if (point) {
            f[1] = kova::CFormat("%.3f", std::stod(f[1]) + draw.Real(-reach, reach));
            f[2] = kova::CFormat("%.3f", std::stod(f[2]) + draw.Real(-reach, reach));
        } else {
            f[f.size() == 1 ? 0 : 1] = kova::CFormat("%.3f", draw.Real(-300, 300));
        }
        std::string line;
        for (const std::string& x : f) line += x + ",";
        changed[at] = line + label;
        std::string text;
        for (const std::string& l : changed) text += l + "\r\n";
        const std::string bytes = kova::Utf8ToCp932(text);
        const std::string bad = kova::fuzz::CheckEngineRun(bytes, scratch.path());
        EXPECT_EQ(bad, "") << "line " << at + 1 << " made \"" << changed[at] << "\"";
        if (fs::exists(scratch.path() / "engine" / "tnk1.csv")) ++ran;
    }
    // Most changes leave a section that computes.
    EXPECT_GT(ran, cases / 3);
}

}  // namespace

TEST(GeneratedSections, WorkedExampleWithOnePointOrLoadChanged) {
    GeneratedSectionsKeepTheProperty(WorkedInput(), 240, 20, 20261209);
}

TEST(GeneratedSections, FullCapacityWithOnePointOrLoadChanged) {
    GeneratedSectionsKeepTheProperty(
        kova::test::ReadBytes(fs::path(KOVA_SOURCE_DIR) / "tests" / "data" / "engine_bench" / "full.DAT"), 30, 2,
        1209);
}
