// Hostile project files and sand-curve tables: a file cut inside its last
// number, junk after the data, values outside the table of limits, integers
// that would wrap, and items the writer could not write back. Each is
// refused with a message that names the line.
#include <gtest/gtest.h>

#include <memory>

#include "rules/limits.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "rich_model.hpp"
#include "testing/fakes.hpp"
#include "textio/cp932.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

namespace fs = std::filesystem;

std::string Join(const std::vector<std::string>& lines) {
    std::string t;
    for (const auto& l : lines) t += l + "\r\n";
    return t;
}

struct HostileFiles : ::testing::Test {
    test::TempDir dir;
    ProgramState ps;
    RecordingMessages ui;

    void SetUp() override {
        ps.AppPath = dir.path();
        fs::copy_file(test::DataFile("BKHough1.CSV"), dir / "BKHough1.CSV");
    }
    // Reads text (UTF-8) as a project file; the message shown, or "" when read.
    std::string ReadKov(const std::string& text) {
        test::WriteBytes(dir / "h.kov", Utf8ToCp932(text));
        auto m = std::make_unique<Model>();
        ui.Clear();
        bool ok = ReadCondFile(*m, ps, dir / "h.kov", ui);
        EXPECT_EQ(ui.Count(), ok ? 0u : 1u);
        return ok ? "" : ui.Last().text;
    }
    std::string ReadSand(const std::string& text) {
        test::TempDir app;
        test::WriteBytes(app / "BKHough1.CSV", text);
        SandCurves curves{};
        ui.Clear();
        bool ok = ReadSandCurveFile(app.path(), curves, ui);
        EXPECT_EQ(ui.Count(), ok ? 0u : 1u);
        return ok ? "" : ui.Last().text;
    }
};

void ExpectNamed(const std::string& msg, const char* file, int line, const std::string& detail, const std::string& what) {
    EXPECT_EQ(msg.rfind(std::string(file) + "が読み込み出来ません。\r" + std::to_string(line) + "行目: ", 0), 0u)
        << what << ": " << msg;
    EXPECT_NE(msg.find(detail), std::string::npos) << what << ": " << msg;
}

TEST_F(HostileFiles, ProjectFileRefusalsNameTheLine) {
    const std::vector<std::string> golden = SplitLines(ReadCp932File(test::DataFile("rich.kov")));
    ASSERT_EQ(golden.size(), 124u);
    ASSERT_EQ(golden[109], "1,3,1,0,15");
    ASSERT_EQ(golden[123], "32,0.5,-12");
    struct Case {
        std::size_t index;  // 0-based line replaced
        std::string text;
        std::string detail;
    } cases[] = {
        {109, "1,65537,1,0,15", LimitFileText(Item::SettleMethod)},  // would wrap to 1
        {109, "1,7,1,0,15", LimitFileText(Item::SettleMethod)},
        {109, "65536,3,1,0,15", LimitFileText(Item::SoilType)},
        {116, "45,0,0,0,1e303,2", LimitFileText(Item::LineLoad)},
        {14, "0,1e154", LimitFileText(Item::Y)},
        {120, "1,1e300,0.05,1,0,0,0,1", LimitFileText(Item::DrainSpacing)},
        {2, "-5", LimitFileText(Item::LeavePeriod)},
        {14, "0.30000000000000004,0", "有効桁数"},  // the writer keeps 15 digits
        {1, "○○地区\r盛土", "使用できない文字"},     // a lone CR in the title
        {4, "地\"点A,12.5", "使用できない文字"},     // a quote in an unquoted name
        {4, "\"地点\rA\",12.5", "使用できない文字"},  // a lone CR in a quoted name
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = golden;
        lines[c.index] = c.text;
        ExpectNamed(ReadKov(Join(lines)), "条件ﾌｧｲﾙ(.KOV)", static_cast<int>(c.index) + 1, c.detail, c.text);
    }
    // A block name line with a lone CR.
    std::size_t name = std::find(golden.begin(), golden.end(), "盛土１") - golden.begin();
    std::vector<std::string> lines = golden;
    lines.at(name) = "盛\r土";
    ExpectNamed(ReadKov(Join(lines)), "条件ﾌｧｲﾙ(.KOV)", static_cast<int>(name) + 1, "使用できない文字", "name");

    // Cut inside the last number: the wall bottom -12 would read as -1.
    const std::string whole = Join(golden);
    ExpectNamed(ReadKov(whole.substr(0, whole.size() - 3)), "条件ﾌｧｲﾙ(.KOV)", 124, "途中で終わって", "cut");
    ExpectNamed(ReadKov(whole + "junk\r\n"), "条件ﾌｧｲﾙ(.KOV)", 125, "余分な内容", "junk");
    ExpectNamed(ReadKov(whole + "\r\n\r\n1,2\r\n"), "条件ﾌｧｲﾙ(.KOV)", 127, "余分な内容", "junk after blanks");
    EXPECT_EQ(ReadKov(whole + "\r\n  \r\n"), "");
    EXPECT_EQ(ReadKov(whole), "");
}

TEST_F(HostileFiles, SandCurveTableRefusalsNameTheLine) {
    const std::string row1 = "10.0,1.200,1.100,1.000,0.900,0.800\r\n";
    const std::string row2 = "20.0,1.100,1.000,0.900,0.800,0.700\r\n";
    const std::string good = "2\r\n" + row1 + row2;
    ASSERT_EQ(ReadSand(good), "");
    struct Case {
        std::string text;
        int line;
        std::string detail;
    } cases[] = {
        {good.substr(0, good.size() - 3), 3, "途中で終わって"},  // 0.700 read as 0.7 is still a cut
        {"2\r\n" + row1 + "20.0,1.100,1.000,0.900,0.800,0.7", 3, "途中で終わって"},
        {good + "x\r\n", 4, "余分な内容"},
        {good + "\r\n30.0\r\n", 5, "余分な内容"},
        {"1\r\n10.05,1.200,1.100,1.000,0.900,0.800\r\n", 2, "桁数"},  // written as 10.1
        {"1\r\n10.0,1.2004,1.100,1.000,0.900,0.800\r\n", 2, "桁数"},
        {"1\r\n10.0,1e300,1.100,1.000,0.900,0.800\r\n", 2, LimitFileText(Item::SandVoidRatio)},
        {"1\r\n-10.0,1.2,1.100,1.000,0.900,0.800\r\n", 2, LimitFileText(Item::SandPressure)},
        {"65537\r\n" + row1, 1, LimitFileText(Item::SandPointCount)},
    };
    for (const Case& c : cases) ExpectNamed(ReadSand(c.text), "条件ﾌｧｲﾙ(BKHough1.CSV)", c.line, c.detail, c.text);
    EXPECT_EQ(ReadSand(good + "\r\n"), "");
}

}  // namespace
}  // namespace kova
