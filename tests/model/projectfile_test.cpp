#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
using test::DataFile;
using test::ReadBytes;
using test::WriteBytes;

struct ProjectFileTest : ::testing::Test {
    test::TempDir dir;
    ProgramState ps;
    RecordingMessages ui;
    std::unique_ptr<Model> m = std::make_unique<Model>();

    void SetUp() override {
        ps.AppPath = dir.path();
        fs::copy_file(DataFile("BKHough1.CSV"), dir / "BKHough1.CSV");
    }
    // The model in file form, without touching it.
    static std::string Form(const Model& model) {
        auto copy = std::make_unique<Model>(model);
        return FormatCondFile(*copy);
    }
    std::unique_ptr<Model> Reopen(const fs::path& p) {
        auto back = std::make_unique<Model>();
        EXPECT_TRUE(ReadCondFile(*back, ps, p, ui));
        return back;
    }
};

TEST_F(ProjectFileTest, GoldenFileWrittenReadAndWrittenAgain) {
    test::BuildRichModel(*m);
    ASSERT_EQ(WriteCondFile(*m, ps, (dir / "site").string(), 0, ui), 0);
    EXPECT_EQ(ReadBytes(dir / "site.kov"), ReadBytes(DataFile("rich.kov")));
    EXPECT_EQ(m->Cond.ProjectTitle, "○○地区, 盛土工事");  // trimmed in the model too

    auto read = std::make_unique<Model>();
    read->SettledSurface[3].v = 0.25;  // results do not survive an open
    ASSERT_TRUE(ReadCondFile(*read, ps, DataFile("rich.kov"), ui));
    EXPECT_EQ(ps.CondFileVersion, 3);
    EXPECT_EQ(read->SettledSurface[3].v, 0);
    EXPECT_EQ(read->SoilLayer[0].Name, "");  // 30 blanks
    EXPECT_EQ(read->SoilLayer[0].PX[6], 0);  // the repeated vertex is not stored
    EXPECT_EQ(read->BndPt[6].nLink, 0);
    EXPECT_EQ(Form(*read), Form(*m));
    ASSERT_EQ(WriteCondFile(*read, ps, (dir / "again.kov").string(), 0, ui), 0);
    EXPECT_EQ(ReadBytes(dir / "again.kov"), ReadBytes(DataFile("rich.kov")));
    EXPECT_EQ(ui.Count(), 0u);
}

// Values that share a number could change places unnoticed in the golden
// file: here every one differs, and the flags differ one at a time.
TEST_F(ProjectFileTest, EachValueInItsPlaceAndReadBackToItsField) {
    // In the order of the project file (not that of the calculation input).
    i16 StudyCond::*const flags[] = {&StudyCond::MvPMethod,        &StudyCond::CvPMethod,    &StudyCond::UseCutPreload,
                                     &StudyCond::UseSandImmediate, &StudyCond::TimeCondKind, &StudyCond::AutoScaleXY};
    const int flagLine[] = {6, 7, 8, 9, 11, 12};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        test::BuildRichModel(*m);
        for (auto f : flags) m->Cond.*f = 0;
        m->Cond.*flags[k] = 1;
        m->Cond.ResidualSettlement = 0.375;
        m->SoilParam[0] = SoilParamRec{1, 4, 0, 0.25, 0, 0, 7};
        m->SoilParam[1] = SoilParamRec{0, 2, 1, 0.5, 0, 0, 30};
        m->PointLoad[0] = LoadRec{1.5, 2.5, 3.5, 4.5, 5.5, 2};
        m->LineLoad[0] = LoadRec{-1, -2, -3, -4, -5, 1};
        m->StripLoad[0] = LoadRec{6, 7, 8, 9, 10, 2};
        m->SoilLayer[1].Stage = 4;
        m->CutBlock[0].Stage = 3;
        m->StageStartDay[1] = 61;
        m->StageDays[1] = 16;
        m->DrainMethod[0] = DrainMethodRec{2, {1.1, 0.07, 1.3, 25, 4, 0.35, 0.55}};
        ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
        std::vector<std::string> l = ReadCp932Lines(SnapshotPath(ps.AppPath, kSnapEdt));
        ASSERT_EQ(l.size(), 124u);
        for (int j = 0; j < 6; ++j) EXPECT_EQ(l[flagLine[j]], j == k ? "1" : "0") << "line " << flagLine[j] + 1;
        const std::pair<int, const char*> want[] = {
            {10, "0.375"}, {42, "2"}, {62, "4"}, {72, "3"}, {108, "1,4,0,0.25,7"}, {109, "0,2,1,0.5,30"},
            {112, "61,16"}, {114, "1.5,2.5,3.5,4.5,5.5,2"}, {116, "-1,-2,-3,-4,-5,1"}, {118, "6,7,8,9,10,2"},
            {120, "2,1.1,0.07,1.3,25,4,0.35,0.55"}};
        for (auto [i, text] : want) EXPECT_EQ(l[i], text) << "line " << i + 1;
        // Every value differs from its neighbours, so a field read into the
        // wrong place shows in the form of the model read back.
        EXPECT_EQ(Form(*Reopen(SnapshotPath(ps.AppPath, kSnapEdt))), Form(*m));
    }
}

TEST_F(ProjectFileTest, NewProjectLayout) {
    ResetModel(*m, ps.AppPath, ui);
    std::vector<std::string> l = SplitLines(Form(*m));
    // Version, title, conditions, counts of points, lines, cut lines and the
    // three block kinds, the layer count, then the first sand curve.
    EXPECT_EQ(std::vector<std::string>(l.begin(), l.begin() + 21),
              (std::vector<std::string>{"000003", std::string(64, ' '), "1000", "0", "1", "1", "1", "1", "1", "0", "0", "0",
                                        "0", "0", "0", "0", "0", "0", "2", "10,0.9", "100,0.85"}));
    // layers, stage count, stage 1, three load counts, layers, walls
    EXPECT_EQ(std::vector<std::string>(l.end() - 8, l.end()),
              (std::vector<std::string>{"0", "1", "0,0", "0", "0", "0", "0", "0"}));
}

TEST_F(ProjectFileTest, ProjectFileNames) {
    for (auto [chosen, file] : {std::pair{"/p/site", "/p/site.kov"}, {"/p/site.kov", "/p/site.kov"},
                                {"/p/site.KOV", "/p/site.KOV"}, {"/p/site.txt", "/p/site.txt"},
                                {"/p.d/site", "/p.d/site.kov"}, {"/p/計画.kov", "/p/計画.kov"}})
        EXPECT_EQ(ProjectFilePath(chosen), fs::path(file)) << chosen;
    test::BuildRichModel(*m);
    ASSERT_EQ(WriteCondFile(*m, ps, (dir / "site.kov").string(), 0, ui), 0);
    EXPECT_TRUE(fs::exists(dir / "site.kov"));
    EXPECT_FALSE(fs::exists(dir / "site.KOV"));
    EXPECT_FALSE(fs::exists(dir / "site.kov.kov"));
    Reopen(dir / "site");
}

TEST_F(ProjectFileTest, OlderVersionsReadWithDefaults) {
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        auto r = Reopen(DataFile(version == 1 ? "v1.kov" : "v2.kov"));
        EXPECT_EQ(ps.CondFileVersion, version);
        EXPECT_EQ(r->Cond.ProjectTitle, "旧形式");
        EXPECT_EQ(r->SoilLayer[0].Name, "粘土");
        EXPECT_EQ(r->DrainMethod[0].Method, 2);
        EXPECT_EQ(r->DrainMethod[0].Detail, (std::array<double, 7>{1.5, 0.05, 2, 3, 0, 0, 1}));
        for (int d = 0; d < 5; ++d) EXPECT_EQ(r->BKHoughCurve[d].n, 0);
        ASSERT_EQ(r->SheetPileCount, version - 1);
        if (version == 2) {
            EXPECT_EQ(r->SheetPile[0].X, 5);
            EXPECT_EQ(r->SheetPile[0].Top, 1);
            EXPECT_EQ(r->SheetPile[0].Bottom, -8);
        }
    }
    EXPECT_EQ(ui.Count(), 0u);
}

// Every damaged file is refused with one message and leaves the model and
// the program state as they were.
TEST_F(ProjectFileTest, MalformedFilesAreRefusedWithoutChange) {
    std::vector<std::string> golden = SplitLines(ReadCp932File(DataFile("rich.kov")));
    auto join = [](const std::vector<std::string>& lines) {
        std::string t;
        for (const auto& l : lines) t += l + "\r\n";
        return t;
    };
    auto with = [&](std::size_t index, const std::string& text) {
        std::vector<std::string> l = golden;
        l.at(index) = text;
        return join(l);
    };
    auto find = [&](const std::string& line) {
        std::size_t i = std::find(golden.begin(), golden.end(), line) - golden.begin();
        EXPECT_LT(i, golden.size()) << line;
        return i;
    };
    std::vector<std::pair<std::string, std::string>> cases;
    for (std::size_t n = 0; n < golden.size(); ++n)
        cases.push_back({"cut after " + std::to_string(n) + " lines",
                         join(std::vector<std::string>(golden.begin(), golden.begin() + static_cast<long>(n)))});
    const std::size_t pts = find("9"), lines = find("11"), emb = find("盛土１") - 1, curve = find("1,2.5") - 1,
                      stages = find("0,30") - 1;
    ASSERT_EQ(golden[curve], "3");        // e-logP point count of layer 1
    ASSERT_EQ(golden[curve - 1], "2");    // the second layer count
    ASSERT_EQ(golden[stages + 3], "1");   // point loads
    const std::pair<std::size_t, const char*> edits[] = {
        {pts, "501"},            {pts, "-1"},          {pts, "8"},  // fewer points than line ends need
        {lines, "501"},          {lines + 11, "7,9"},  {lines + 1, "-1,1"},
        {lines + 13, "1,12"},    {3, "21"},            {3, "-2"},  // cut line to a missing point; positions
        {0, "000004"},           {0, "000000"},        {0, "abc"},
        {2, "40000"},            {pts + 1, "nan,0"},   {pts + 2, "20,inf"},
        {pts + 2, "20,1e999"},   {pts + 3, "30,abc"},  {emb, "21"},
        {emb + 5, "101"},        {emb + 5, "-3"},      {curve, "22"},
        {curve - 1, "1"},        {stages, "0"},        {stages, "6"},
        {stages + 3, "6"},       {golden.size() - 2, "4"}};  // layer counts disagree; stages; loads; walls
    for (auto [i, text] : edits) cases.push_back({"line " + std::to_string(i + 1) + " = " + text, with(i, text)});
    cases.push_back({"bad bytes", std::string("000003\r\n\x82\r\n")});

    auto before = std::make_unique<Model>();
    test::BuildRichModel(*before);
    before->Cond.ProjectTitle = "前の業務";
    before->SettledSurface[10].y = 1.5;
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        std::string bytes;
        try {
            bytes = Utf8ToCp932(text);
        } catch (const TextError&) {
            bytes = text;  // deliberately invalid bytes
        }
        WriteBytes(dir / "bad.kov", bytes);
        *m = *before;
        ps.CondFileVersion = 77;
        ui.Clear();
        EXPECT_FALSE(ReadCondFile(*m, ps, dir / "bad.kov", ui));
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text.rfind("条件ﾌｧｲﾙ(.KOV)が読み込み出来ません。", 0), 0u) << ui.Last().text;
        EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(ps.CondFileVersion, 77);
        EXPECT_EQ(m->SettledSurface[10].y, 1.5);
        EXPECT_EQ(Form(*m), Form(*before));
    }
    ui.Clear();
    EXPECT_FALSE(ReadCondFile(*m, ps, dir / "none.kov", ui));
    EXPECT_EQ(ui.Count(), 1u);
    EXPECT_EQ(Form(*m), Form(*before));
    EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(.KOV)が読み込み出来ません。");  // no line to name
    // The golden text itself passes the same route.
    WriteBytes(dir / "good.kov", Utf8ToCp932(join(golden)));
    EXPECT_TRUE(ReadCondFile(*m, ps, dir / "good.kov", ui));
}

// A line of bytes that are no text is named with its line and the reason,
// like every other refusal; the lines before it were good text.
TEST_F(ProjectFileTest, ABinaryGarbageLineIsNamedByItsLine) {
    const std::string golden = ReadBytes(DataFile("rich.kov"));
    const std::size_t third = golden.find('\n', golden.find('\n') + 1) + 1;
    const std::string garbages[] = {std::string("\x82\x20\xff\xfe\x00\x01", 6), std::string("abc\x81\x7f")};
    for (const std::string& garbage : garbages) {
        const std::string bytes = golden.substr(0, third) + garbage + "\r\n" + golden.substr(third);
        WriteBytes(dir / "bad.kov", bytes);
        auto before = std::make_unique<Model>();
        test::BuildRichModel(*before);
        *m = *before;
        ui.Clear();
        EXPECT_FALSE(ReadCondFile(*m, ps, dir / "bad.kov", ui));
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(.KOV)が読み込み出来ません。\r3行目: 読めない文字コードがあります。");
        EXPECT_EQ(Form(*m), Form(*before));
    }
}

TEST_F(ProjectFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    test::BuildRichModel(*m);
    const fs::path file = dir / "site.kov";
    ASSERT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), 0);
    const std::string saved = ReadBytes(file);
    // No code page 932 form, a NaN, and models whose file could not be
    // opened again.
    const std::function<void(Model&)> faults[] = {
        [](Model& m) { m.Cond.ProjectTitle = "工事😀"; }, [](Model& m) { m.BndPt[2].Y = std::nan(""); },
        [](Model& m) { m.BndPtCount = 501; },             [](Model& m) { m.StageCount = 0; },
        [](Model& m) { m.CutLine[1].pt2 = 9; },           [](Model& m) { m.Embankment[0].nPt = 101; }};
    for (std::size_t i = 0; i < std::size(faults); ++i) {
        test::BuildRichModel(*m);
        faults[i](*m);
        ui.Clear();
        EXPECT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), -1) << i;
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(.KOV)に書き込み出来ません。");
        EXPECT_EQ(ReadBytes(file), saved);
    }
    test::BuildRichModel(*m);
    EXPECT_EQ(WriteCondFile(*m, ps, (dir / "no" / "such" / "site").string(), 0, ui), -1);
    ps.AppPath = dir / "missing";
    ui.Clear();
    EXPECT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), -1);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "計算用条件ﾌｧｲﾙ(KOVA_JKN)に書き込み出来ません。");
}

// A save never writes a file that its own reader would refuse: a value
// outside the table of limits is refused by the writer too, naming the
// item as the reader would, and the old file stays.
TEST_F(ProjectFileTest, WriterRefusesWhatTheReaderRefuses) {
    test::BuildRichModel(*m);
    const fs::path file = dir / "site.kov";
    ASSERT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), 0);
    const std::string saved = ReadBytes(file);
    struct Case {
        std::function<void(Model&)> change;
        Item item;
    };
    const Case cases[] = {
        {[](Model& m) { m.SoilLayer[0].UnitWeight = 150; }, Item::UnitWeight},
        {[](Model& m) { m.SoilParam[0].C1 = 100.5; }, Item::CompressionIndex},
        {[](Model& m) { m.SoilParam[1].SettleMethod = 7; }, Item::SettleMethod},
        {[](Model& m) { m.DrainMethod[0].Detail[kReductionFactor] = 250; }, Item::ReductionFactor},
        {[](Model& m) { m.DrainMethod[0].Detail[kSpacing] = -1; }, Item::DrainSpacing},
        {[](Model& m) { m.ELogPCurve[0].X[0] = -0.5; }, Item::CurvePressure},
        {[](Model& m) { m.StripLoad[0].Load = 2e6; }, Item::StripLoad},
        {[](Model& m) { m.PointLoad[0].Stage = 6; }, Item::Stage},
        {[](Model& m) { m.StageStartDay[0] = -1; }, Item::StageStartDay},
        {[](Model& m) { m.BndPt[1].X = 2e7; }, Item::X},
        {[](Model& m) { m.Cond.LeavePeriod = -5; }, Item::LeavePeriod},
        {[](Model& m) { m.Cond.ResidualSettlement = 1e4; }, Item::ResidualSettlement},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        test::BuildRichModel(*m);
        cases[i].change(*m);
        ui.Clear();
        EXPECT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), -1);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, std::string("条件ﾌｧｲﾙ(.KOV)に書き込み出来ません。\r") + LimitFileText(cases[i].item));
        EXPECT_EQ(ReadBytes(file), saved);
        EXPECT_THROW(Form(*m), UnsavableValue);
        // The snapshots alike: the calculation never starts from such a model.
        ui.Clear();
        EXPECT_EQ(WriteCondFile(*m, ps, kSnapCal, 1, ui), -1);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text.rfind("計算用条件ﾌｧｲﾙ(KOVA_JKN)に書き込み出来ません。\r", 0), 0u);
    }
    // At the limits themselves the file is written and opens again.
    test::BuildRichModel(*m);
    m->SoilLayer[0].UnitWeight = 100;
    m->DrainMethod[0].Detail[kReductionFactor] = 100;
    ui.Clear();
    ASSERT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), 0);
    EXPECT_EQ(Form(*Reopen(file)), Form(*m));
}

TEST_F(ProjectFileTest, NamesAreCleanedSoTheyReadBack) {
    test::BuildRichModel(*m);
    m->Cond.ProjectTitle = " 二行の\r\n題名 ";
    m->Embankment[0].Name = "  盛土  ";
    m->Cond.CalcPosName[0] = "A\",B";
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
    EXPECT_EQ(m->Cond.ProjectTitle, "二行の題名");
    EXPECT_EQ(m->Embankment[0].Name, "盛土");
    EXPECT_EQ(m->Cond.CalcPosName[0], "A,B");
    EXPECT_EQ(Form(*Reopen(SnapshotPath(ps.AppPath, kSnapEdt))), Form(*m));
}

TEST_F(ProjectFileTest, SnapshotsCompare) {
    test::BuildRichModel(*m);
    EXPECT_EQ(SnapshotPath(ps.AppPath, kSnapOrg), dir / "KOVA_JKN.ORG");
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapOrg, 1, ui), 0);
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), 0);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapCal), -1);  // CAL missing
    EXPECT_EQ(CondFilesDiffer(ps, kSnapCal, kSnapEdt), -1);
    // A folder in a snapshot's place is no snapshot (and is not read).
    fs::create_directory(SnapshotPath(ps.AppPath, kSnapCal));
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapCal), -1);
    fs::remove(SnapshotPath(ps.AppPath, kSnapCal));
    m->BndPt[4].X = 0.001;
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), -1);

    const fs::path org = SnapshotPath(ps.AppPath, kSnapOrg), edt = SnapshotPath(ps.AppPath, kSnapEdt);
    const std::string bytes = ReadBytes(org);
    struct Case {
        std::string edt, org;
        int differ;
    } cases[] = {
        {bytes + "x\r\n", bytes, -1},                     // one line more
        {bytes, bytes + "x\r\n", -1},
        {bytes.substr(0, bytes.size() - 2), bytes, -1},   // last line end lost
        {"", "", -1},
        {"000003\r\nAbc\r\n", "000003\r\nabc\r\n", -1},   // case counts
        {"000003\r\nAbc\r\n", "000003\r\nAbc\r\n", 0},
    };
    for (const Case& c : cases) {
        WriteBytes(edt, c.edt);
        WriteBytes(org, c.org);
        EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), c.differ) << c.edt.size() << " " << c.org.size();
    }
    EXPECT_EQ(ui.Count(), 0u);
}

}  // namespace
}  // namespace kova
