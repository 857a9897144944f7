// Every number of the worked example's calculation input, changed in turn
// (ten times, a tenth, negated, 0): each run is refused with a message, or
// its results keep the engine's property (finite settlements that are the
// sum of their layers, none of which settles its thickness or rises under
// load). One test per kind of change, so that they run side by side.
#include <gtest/gtest.h>

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

}  // namespace
