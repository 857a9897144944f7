#include <gtest/gtest.h>

#include "cal_builder.hpp"

using namespace kova::engine;
using namespace enginetest;

namespace {

// A section that uses every group of the input file.
Input Full() {
    Input f;
    f.positions.push_back({60, "A"});
    f.layers.push_back(Clay({f.Point(10, 0), f.Point(110, 0), f.Point(110, -4), f.Point(10, -4)}, 18, 0));
    f.blocks.push_back(Block{{f.Point(20, 0), f.Point(30, 3), f.Point(50, 3), f.Point(60, 0)}, 19, 2, 10, 20});
    f.cuts.push_back(Block{{f.Point(70, 1), f.Point(80, 1), f.Point(80, 0), f.Point(70, 0)}, 18});
    f.point_loads.push_back(Load{100, 90, 1});
    f.line_loads.push_back(Load{30, 70, 0.5});
    f.strip_loads.push_back(Load{40, 40, 0, 80, 0, 1, 0, 0});
    f.walls.push_back(Wall{65, 1, -10});
    return f;
}

bool WroteResults(const EngineRun& r) { return r.Has("tnk.csv") || r.Has("tnk1.csv"); }

// Exit code 1, one message naming the input file, no result file.
void ExpectRejected(const std::vector<std::string>& lines, const std::string& what) {
    EngineRun r({}, 1, [&](const std::filesystem::path& d) { WriteLines(d / "CAL_TNK.DAT", lines); });
    EXPECT_EQ(r.code, 1) << what;
    EXPECT_EQ(r.msgs.Count(), 1u) << what;
    if (r.msgs.Count() > 0) {
        EXPECT_EQ(r.msgs.Last().caption, "error") << what;
        EXPECT_NE(r.msgs.Last().text.find("CAL_TNK.DAT"), std::string::npos) << what << ": " << r.msgs.Last().text;
    }
    EXPECT_FALSE(WroteResults(r)) << what;
}

// Index of the first line that contains label.
std::size_t Find(const std::vector<std::string>& lines, const std::string& label, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].find(label) != std::string::npos) return i;
    ADD_FAILURE() << label;
    return 0;
}

}  // namespace

TEST(EngineMalformedInput, TheFullSectionRunsAndLongLinesAreRead) {
    auto lines = Full().Lines();
    EngineRun r(lines, 1);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(WroteResults(r));
    EXPECT_EQ(r.msgs.Count(), 0u);
    lines[Find(lines, "境界点座標")] = "1,10,0,\"" + std::string(5000, 'z') + "\"";
    EXPECT_EQ(EngineRun(lines, 1).code, 0);
}

TEST(EngineMalformedInput, FileEndingEarlyAnywhere) {
    const auto lines = Full().Lines();
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<long>(n));
        ExpectRejected(cut, "first " + std::to_string(n) + " lines");
    }
}

TEST(EngineMalformedInput, AnyLineReplacedByText) {
    const auto lines = Full().Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto bad = lines;
        bad[i] = "x";
        ExpectRejected(bad, "line " + std::to_string(i + 1));
    }
}

TEST(EngineMalformedInput, ValuesOutOfRange) {
    const auto base = Full().Lines();
    struct Case {
        const char* what;
        const char* label;  // the line to replace
        std::string text;
    };
    const Case cases[] = {
        {"too many positions", "計算位置数", "21,\"計算位置数\""},
        {"too many points", "境界点数", "501,\"境界点数\""},
        {"point number 0", "境界点座標", "0,10,0,\"境界点座標\""},
        {"point number 501", "境界点座標", "501,10,0,\"境界点座標\""},
        {"too many layers", "土層数", "21,\"土層数\""},
        {"vertex count 101", "土層構成点数", "1,101,\"土層構成点数\""},
        {"vertex naming point 600", "土層構成点番号", "1,600,\"土層構成点番号\""},
        {"too many embankments", "盛土数", "101,\"盛土数\""},
        {"stage 0", "段階荷重番号", "0,0,0,\"段階荷重番号,施工開始日,施工日数\""},
        {"stage 6", "段階荷重番号", "6,0,0,\"段階荷重番号,施工開始日,施工日数\""},
        {"negative count", "切土数", "-1,\"切土数\""},
        {"curve number 0", "e-LogP曲線要素数", "0,3,\"e-LogP曲線要素数\""},
        {"curve of 51 points", "e-LogP曲線要素数", "1,51,\"e-LogP曲線要素数\""},
        {"sand curve 6", "BKHough曲線要素数", "6,2,\"BKHough曲線要素数\""},
        {"too many point loads", "集中荷重数", "6,\"集中荷重数\""},
        {"too many walls", "矢板の数", "5,\"矢板の数\""},
        {"infinite weight", "有効重量,Ｎ値", "1e999,5,\"有効重量,Ｎ値\""},
        {"nan coordinate", "境界点座標", "1,nan,0,\"境界点座標\""},
        {"inf load", "荷重\"", "1,inf,\"荷重\""},
        {"fraction for an integer", "土質", "0.5,\"土質\""},
        {"missing field", "工法詳細", "0,0,0,\"工法詳細\""},
        {"empty line for a count", "線荷重数", ""},
    };
    for (const Case& c : cases) {
        auto bad = base;
        bad[Find(base, c.label)] = c.text;
        ExpectRejected(bad, c.what);
    }
    // A title without its quotes.
    auto bad = base;
    bad[0] = "title";
    ExpectRejected(bad, "unquoted title");
}

TEST(EngineMalformedInput, BytesThatAreNotCodePage932) {
    std::string text;
    for (auto& l : Full().Lines()) text += kova::Utf8ToCp932(l) + "\r\n";
    text[1] = '\x81';
    text[2] = '\x7f';  // no such double-byte character
    EngineRun r({}, 1, [&](const std::filesystem::path& d) { kova::test::WriteBytes(d / "CAL_TNK.DAT", text); });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.msgs.Count(), 1u);
    EXPECT_FALSE(WroteResults(r));
}
