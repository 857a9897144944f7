// Every number of the worked example's calculation input, changed in turn
// (ten times, a tenth, negated, 0): each run is refused with a message, or
// its results keep the engine's property (finite settlements that are the
// sum of their layers, none of which settles its thickness or rises under
// load). One test per kind of change, so that they run side by side.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "textio/listline.hpp"

namespace {

namespace fs = std::filesystem;

// CAL_TNK.DAT of the worked section as the editor writes it (bytes).
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

// Where a number stands in the file: [begin, end) of its bytes.
struct Field {
    std::size_t begin, end;
    double value;
};

// The numbers at the start of each line, before its quoted label.
std::vector<Field> Numbers(const std::string& text) {
    std::vector<Field> out;
    std::size_t line = 0;
    while (line < text.size()) {
        std::size_t stop = text.find("\r\n", line);
        if (stop == std::string::npos) stop = text.size();
        const std::size_t quote = text.find('"', line);
        const std::size_t last = std::min(stop, quote);
        for (std::size_t at = line; at < last;) {
            std::size_t comma = text.find(',', at);
            if (comma == std::string::npos || comma > last) comma = last;
            double v = 0;
            if (comma > at && kova::ParseReal(text.substr(at, comma - at), v)) out.push_back({at, comma, v});
            at = comma + 1;
        }
        line = stop + 2;
    }
    return out;
}

void MutateEveryNumber(double factor, bool zero) {
    const std::string input = WorkedInput();
    ASSERT_FALSE(input.empty());
    // The unchanged example keeps the property.
    kova::test::TempDir scratch;
    ASSERT_EQ(kova::fuzz::CheckEngineRun(input, scratch.path()), "");
    const std::vector<Field> fields = Numbers(input);
    ASSERT_GT(fields.size(), 300u);
    int runs = 0;
    for (const Field& f : fields) {
        const double v = zero ? 0 : f.value * factor;
        if (v == f.value) continue;
        const std::string text = input.substr(0, f.begin) + kova::CFormat("%.15g", v) + input.substr(f.end);
        EXPECT_EQ(kova::fuzz::CheckEngineRun(text, scratch.path()), "")
            << "the number " << input.substr(f.begin, f.end - f.begin) << " at byte " << f.begin << " made "
            << kova::CFormat("%.15g", v);
        ++runs;
    }
    EXPECT_GT(runs, 200);
}

TEST(EngineMutation, EveryNumberTimesTen) { MutateEveryNumber(10, false); }
TEST(EngineMutation, EveryNumberTimesATenth) { MutateEveryNumber(0.1, false); }
TEST(EngineMutation, EveryNumberNegated) { MutateEveryNumber(-1, false); }
TEST(EngineMutation, EveryNumberZero) { MutateEveryNumber(1, true); }

// The numbers of the lines labelled `label`, line by line.
std::vector<std::vector<Field>> Labelled(const std::string& text, const std::vector<Field>& fields, const char* label) {
    const std::string tag = kova::Utf8ToCp932(std::string("\"") + label + "\"");
    std::vector<std::vector<Field>> out;
    std::size_t line = std::string::npos;
    for (const Field& f : fields) {
        const std::size_t quote = text.find('"', f.end);
        if (text.compare(quote, tag.size(), tag) != 0 || text.compare(quote + tag.size(), 2, "\r\n") != 0) continue;
        if (quote != line) out.emplace_back();
        line = quote;
        out.back().push_back(f);
    }
    return out;
}

// Sections from `input` (a fixed seed: the same every run), each with one
// boundary point moved by up to `reach` metres or one load (a point, line
// or strip load, an embankment's unit weight) set between -300 and 300:
// each run stops with a message or keeps the whole property, every printed
// figure and every stage's stresses included.
void GenerateSections(const std::string& input, int cases, double reach, std::uint64_t seed) {
    const std::vector<Field> fields = Numbers(input);
    const auto points = Labelled(input, fields, "境界点座標");
    auto loads = Labelled(input, fields, "荷重");
    for (auto& w : Labelled(input, fields, "有効重量")) loads.push_back(w);
    ASSERT_GT(points.size(), 10u);
    ASSERT_GT(loads.size(), 2u);
    kova::test::TempDir scratch;
    std::uint64_t s = seed;
    auto draw = [&](double lo, double hi) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return lo + (hi - lo) * static_cast<double>((s >> 33) % 1000001) / 1e6;
    };
    int ran = 0;
    for (int c = 0; c < cases; ++c) {
        const bool point = draw(0, 3) >= 1;
        const auto& all = point ? points : loads;
        const std::vector<Field>& line = all[static_cast<std::size_t>(draw(0, all.size() - 0.001))];
        std::string text = input;
        // Right to left, so that the places before stay valid.
        for (std::size_t k = point ? 3 : 2; k-- > 1;) {
            const Field& f = line[std::min(k, line.size() - 1)];
            const double v = point ? f.value + draw(-reach, reach) : draw(-300, 300);
            text = text.substr(0, f.begin) + kova::CFormat("%.3f", v) + text.substr(f.end);
            if (line.size() == 1) break;
        }
        EXPECT_EQ(kova::fuzz::CheckEngineRun(text, scratch.path()), "") << "case " << c;
        if (std::filesystem::exists(scratch.path() / "engine" / "tnk1.csv")) ++ran;
    }
    // Many changes leave a section that computes; a moved ground point that
    // lifts the ground into a fill, or drops a fill's base into a layer, is
    // refused (the band would count as ground and as load).
    EXPECT_GE(ran, cases / 4);
}

// Under the sanitizers a run takes several times as long: a share of the
// cases there.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kShare = 5;
#else
constexpr int kShare = 1;
#endif

TEST(GeneratedSections, WorkedExampleWithOnePointOrLoadChanged) {
    GenerateSections(WorkedInput(), 240 / kShare, 20, 20261209);
}

TEST(GeneratedSections, FullCapacityWithOnePointOrLoadChanged) {
    GenerateSections(kova::test::ReadBytes(fs::path(KOVA_SOURCE_DIR) / "tests" / "data" / "engine_bench" / "full.DAT"),
                     30 / kShare, 2, 1209);
}

}  // namespace
