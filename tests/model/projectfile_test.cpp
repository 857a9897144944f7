#include <gtest/gtest.h>

#include <cmath>

#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "rich_model.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

using test::DataFile;
using test::ReadBytes;
using test::WriteBytes;

constexpr const char* kReadMsg = "条件ﾌｧｲﾙ(.KOV)が読み込み出来ません。";

struct ProjectFileTest : ::testing::Test {
    test::TempDir dir;
    ProgramState ps;
    RecordingMessages ui;
    std::unique_ptr<Model> m = std::make_unique<Model>();

    void SetUp() override {
        ps.AppPath = dir.path;
        std::filesystem::copy_file(DataFile("BKHough1.CSV"), dir.path / "BKHough1.CSV");
    }
    // The model in file form, without touching it.
    static std::string Form(const Model& model) {
        auto copy = std::make_unique<Model>(model);
        return FormatCondFile(*copy);
    }
};

TEST_F(ProjectFileTest, RichModelMatchesGoldenFileAndTrimsTheModel) {
    test::BuildRichModel(*m);
    ASSERT_EQ(WriteCondFile(*m, ps, (dir.path / "site").string(), 0, ui), 0);
    EXPECT_EQ(ReadBytes(dir.path / "site.kov"), ReadBytes(DataFile("rich.kov")));
    EXPECT_EQ(m->Cond.ProjectTitle, "○○地区, 盛土工事");
    EXPECT_EQ(ui.Count(), 0u);
}

TEST_F(ProjectFileTest, GoldenFileReadsBackAndWritesTheSameBytes) {
    m->SettledSurface[3].v = 0.25;  // results do not survive an open
    ASSERT_TRUE(ReadCondFile(*m, ps, DataFile("rich.kov"), ui));
    EXPECT_EQ(ps.CondFileVersion, 3);
    EXPECT_EQ(ui.Count(), 0u);
    EXPECT_EQ(m->SettledSurface[3].v, 0);

    auto expected = std::make_unique<Model>();
    test::BuildRichModel(*expected);
    EXPECT_EQ(m->Cond.ProjectTitle, "○○地区, 盛土工事");  // comma kept
    EXPECT_EQ(m->SoilLayer[0].Name, "");                 // 30 blanks
    EXPECT_EQ(m->SoilLayer[1].Name, "砂層 Ac2");
    EXPECT_EQ(m->Cond.CalcPosName[0], "測点A");
    EXPECT_EQ(m->CvCurve[1].X[0], 5);
    EXPECT_EQ(m->CvCurve[1].Y[0], 0.00001);
    EXPECT_EQ(m->SoilLayer[0].PX[6], 0);  // the repeated vertex is not stored
    EXPECT_EQ(m->BndPt[6].nLink, 0);
    EXPECT_EQ(Form(*m), Form(*expected));

    ASSERT_EQ(WriteCondFile(*m, ps, (dir.path / "again.kov").string(), 0, ui), 0);
    EXPECT_EQ(ReadBytes(dir.path / "again.kov"), ReadBytes(DataFile("rich.kov")));
}

// Values that share a number could change places unnoticed in the golden
// file: here every one differs, and the flags differ one at a time.
TEST_F(ProjectFileTest, EachValueInItsPlaceAndReadBackToItsField) {
    // Row 6 in the order of the project file (not that of the calculation
    // input); the fifth line is the residual settlement.
    i16 StudyCond::*const flags[] = {&StudyCond::MvPMethod,   &StudyCond::CvPMethod,
                                     &StudyCond::UseCutPreload, &StudyCond::UseSandImmediate,
                                     &StudyCond::TimeCondKind, &StudyCond::AutoScaleXY};
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
        m->Embankment[0].Stage = 2;
        m->SoilLayer[1].Stage = 4;
        m->CutBlock[0].Stage = 3;
        m->StageStartDay[1] = 61;
        m->StageDays[1] = 16;
        m->DrainMethod[0] = DrainMethodRec{2, {1.1, 0.07, 1.3, 25, 4, 0.35, 0.55}};
        ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
        std::vector<std::string> l = ReadCp932Lines(SnapshotPath(ps.AppPath, kSnapEdt));
        ASSERT_EQ(l.size(), 124u);
        for (int j = 0; j < 6; ++j) EXPECT_EQ(l[flagLine[j]], j == k ? "1" : "0") << "line " << flagLine[j] + 1;
        EXPECT_EQ(l[10], "0.375");
        EXPECT_EQ(l[42], "2");   // embankment stage
        EXPECT_EQ(l[62], "4");   // second soil layer's stage
        EXPECT_EQ(l[72], "3");   // cut stage
        EXPECT_EQ(l[108], "1,4,0,0.25,7");
        EXPECT_EQ(l[109], "0,2,1,0.5,30");
        EXPECT_EQ(l[112], "61,16");
        EXPECT_EQ(l[114], "1.5,2.5,3.5,4.5,5.5,2");
        EXPECT_EQ(l[116], "-1,-2,-3,-4,-5,1");
        EXPECT_EQ(l[118], "6,7,8,9,10,2");
        EXPECT_EQ(l[120], "2,1.1,0.07,1.3,25,4,0.35,0.55");

        auto back = std::make_unique<Model>();
        ASSERT_TRUE(ReadCondFile(*back, ps, SnapshotPath(ps.AppPath, kSnapEdt), ui));
        for (auto f : flags) EXPECT_EQ(back->Cond.*f, m->Cond.*f);
        EXPECT_EQ(back->Cond.ResidualSettlement, 0.375);
        for (int i = 0; i < 2; ++i) {
            const SoilParamRec &a = back->SoilParam[i], &b = m->SoilParam[i];
            EXPECT_EQ(a.SoilType, b.SoilType);
            EXPECT_EQ(a.SettleMethod, b.SettleMethod);
            EXPECT_EQ(a.Drainage, b.Drainage);
            EXPECT_EQ(a.C1, b.C1);
            EXPECT_EQ(a.NValue, b.NValue);
        }
        for (auto [a, b] : {std::pair{&back->PointLoad[0], &m->PointLoad[0]}, std::pair{&back->LineLoad[0], &m->LineLoad[0]},
                            std::pair{&back->StripLoad[0], &m->StripLoad[0]}}) {
            EXPECT_EQ(a->X1, b->X1);
            EXPECT_EQ(a->Y1, b->Y1);
            EXPECT_EQ(a->X2, b->X2);
            EXPECT_EQ(a->Y2, b->Y2);
            EXPECT_EQ(a->Load, b->Load);
            EXPECT_EQ(a->Stage, b->Stage);
        }
        EXPECT_EQ(back->Embankment[0].Stage, 2);
        EXPECT_EQ(back->SoilLayer[1].Stage, 4);
        EXPECT_EQ(back->CutBlock[0].Stage, 3);
        EXPECT_EQ(back->StageStartDay[1], 61);
        EXPECT_EQ(back->StageDays[1], 16);
        EXPECT_EQ(back->DrainMethod[0].Method, 2);
        EXPECT_EQ(back->DrainMethod[0].Detail, m->DrainMethod[0].Detail);
    }
}

TEST_F(ProjectFileTest, NewProjectLayout) {
    ResetModel(*m, ps.AppPath, ui);
    std::vector<std::string> lines = SplitLines(Form(*m));
    std::vector<std::string> head(lines.begin(), lines.begin() + 11);
    EXPECT_EQ(head, (std::vector<std::string>{"000003", std::string(64, ' '), "1000", "0", "1", "1", "1", "1", "1",
                                              "0", "0"}));
    // Counts of points, lines, cut lines and the three block kinds, then
    // the layer count before the curves, then the five sand curves.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 11, lines.begin() + 18),
              (std::vector<std::string>{"0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(lines[18], "2");
    EXPECT_EQ(lines[19], "10,0.9");
    EXPECT_EQ(lines[20], "100,0.85");
    // layers, stage count, stage 1, three load counts, layers, walls
    std::vector<std::string> tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"0", "1", "0,0", "0", "0", "0", "0", "0"}));
}

TEST_F(ProjectFileTest, ProjectFileNames) {
    struct Case {
        const char* chosen;
        const char* file;
    };
    for (Case c : {Case{"/p/site", "/p/site.kov"}, Case{"/p/site.kov", "/p/site.kov"}, Case{"/p/site.KOV", "/p/site.KOV"},
                   Case{"/p/site.txt", "/p/site.txt"}, Case{"/p.d/site", "/p.d/site.kov"},
                   Case{"/p/計画.kov", "/p/計画.kov"}}) {
        EXPECT_EQ(ProjectFilePath(c.chosen), std::filesystem::path(c.file)) << c.chosen;
    }
    test::BuildRichModel(*m);
    ASSERT_EQ(WriteCondFile(*m, ps, (dir.path / "site.kov").string(), 0, ui), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.path / "site.kov"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "site.KOV"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "site.kov.kov"));
    auto other = std::make_unique<Model>();
    EXPECT_TRUE(ReadCondFile(*other, ps, dir.path / "site.kov", ui));
    EXPECT_TRUE(ReadCondFile(*other, ps, dir.path / "site", ui));
}

TEST_F(ProjectFileTest, OlderVersionsReadWithDefaults) {
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        auto fresh = std::make_unique<Model>();
        ASSERT_TRUE(ReadCondFile(*fresh, ps, DataFile(version == 1 ? "v1.kov" : "v2.kov"), ui));
        EXPECT_EQ(ps.CondFileVersion, version);
        const Model& r = *fresh;
        EXPECT_EQ(r.Cond.ProjectTitle, "旧形式");
        EXPECT_EQ(r.SoilLayerCount, 1);
        EXPECT_EQ(r.SoilLayer[0].Name, "粘土");
        EXPECT_EQ(r.DrainMethod[0].Method, 2);
        std::array<double, 7> detail{1.5, 0.05, 2, 3, 0, 0, 1};
        EXPECT_EQ(r.DrainMethod[0].Detail, detail);
        for (int d = 0; d < 5; ++d) EXPECT_EQ(r.BKHoughCurve[d].n, 0);
        if (version == 1) {
            EXPECT_EQ(r.SheetPileCount, 0);
        } else {
            ASSERT_EQ(r.SheetPileCount, 1);
            EXPECT_EQ(r.SheetPile[0].X, 5);
            EXPECT_EQ(r.SheetPile[0].Top, 1);
            EXPECT_EQ(r.SheetPile[0].Bottom, -8);
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
    auto find = [&](const std::string& line, int nth = 0) {
        for (std::size_t i = 0; i < golden.size(); ++i)
            if (golden[i] == line && nth-- == 0) return i;
        ADD_FAILURE() << "no line " << line;
        return std::size_t{0};
    };
    struct Case {
        std::string what, text;
    };
    std::vector<Case> cases;
    for (std::size_t n = 0; n < golden.size(); ++n)
        cases.push_back({"cut after " + std::to_string(n) + " lines",
                         join(std::vector<std::string>(golden.begin(), golden.begin() + static_cast<long>(n)))});
    std::size_t ptCount = find("9");
    std::size_t lineCount = find("11");
    cases.push_back({"501 points", with(ptCount, "501")});
    cases.push_back({"negative points", with(ptCount, "-1")});
    cases.push_back({"fewer points than line ends need", with(ptCount, "8")});
    cases.push_back({"501 lines", with(lineCount, "501")});
    cases.push_back({"line to a missing point", with(lineCount + 11, "7,9")});
    cases.push_back({"negative line end", with(lineCount + 1, "-1,1")});
    cases.push_back({"cut line to a missing point", with(lineCount + 13, "1,12")});
    cases.push_back({"21 positions", with(3, "21")});
    cases.push_back({"negative positions", with(3, "-2")});
    cases.push_back({"version 4", with(0, "000004")});
    cases.push_back({"version 0", with(0, "000000")});
    cases.push_back({"no version", with(0, "abc")});
    cases.push_back({"leave period beyond 16 bits", with(2, "40000")});
    cases.push_back({"NaN coordinate", with(ptCount + 1, "nan,0")});
    cases.push_back({"infinite coordinate", with(ptCount + 2, "20,inf")});
    cases.push_back({"huge coordinate", with(ptCount + 2, "20,1e999")});
    cases.push_back({"text for a number", with(ptCount + 3, "30,abc")});
    std::size_t emb = find("盛土１") - 1;
    cases.push_back({"21 embankments", with(emb, "21")});
    cases.push_back({"101 vertices", with(emb + 5, "101")});
    cases.push_back({"negative vertices", with(emb + 5, "-3")});
    std::size_t curve = find("1,2.5") - 1;  // e-logP point count of layer 1
    ASSERT_EQ(golden[curve], "3");
    cases.push_back({"22 curve points", with(curve, "22")});
    std::size_t layers2 = curve - 1;
    ASSERT_EQ(golden[layers2], "2");
    cases.push_back({"layer counts disagree", with(layers2, "1")});
    std::size_t stages = find("0,30") - 1;
    cases.push_back({"no stage", with(stages, "0")});
    cases.push_back({"six stages", with(stages, "6")});
    std::size_t pointLoads = stages + 3;
    ASSERT_EQ(golden[pointLoads], "1");
    cases.push_back({"six point loads", with(pointLoads, "6")});
    std::size_t walls = golden.size() - 2;
    cases.push_back({"four walls", with(walls, "4")});
    cases.push_back({"bad bytes", std::string("000003\r\n\x82\r\n")});

    auto before = std::make_unique<Model>();
    test::BuildRichModel(*before);
    before->Cond.ProjectTitle = "前の業務";
    before->SettledSurface[10].y = 1.5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes;
        try {
            bytes = Utf8ToCp932(c.text);
        } catch (const TextError&) {
            bytes = c.text;  // deliberately invalid bytes
        }
        WriteBytes(dir.path / "bad.kov", bytes);
        *m = *before;
        ps.CondFileVersion = 77;
        ui.Clear();
        EXPECT_FALSE(ReadCondFile(*m, ps, dir.path / "bad.kov", ui));
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, kReadMsg);
        EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(ps.CondFileVersion, 77);
        EXPECT_EQ(m->Cond.ProjectTitle, "前の業務");
        EXPECT_EQ(m->SettledSurface[10].y, 1.5);
        EXPECT_EQ(Form(*m), Form(*before));
    }
    // The golden text itself passes the same route.
    WriteBytes(dir.path / "good.kov", Utf8ToCp932(join(golden)));
    EXPECT_TRUE(ReadCondFile(*m, ps, dir.path / "good.kov", ui));
}

TEST_F(ProjectFileTest, MissingFileIsRefused) {
    test::BuildRichModel(*m);
    std::string before = Form(*m);
    EXPECT_FALSE(ReadCondFile(*m, ps, dir.path / "none.kov", ui));
    EXPECT_EQ(ui.Count(), 1u);
    EXPECT_EQ(Form(*m), before);
}

TEST_F(ProjectFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    test::BuildRichModel(*m);
    std::filesystem::path file = dir.path / "site.kov";
    ASSERT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), 0);
    std::string saved = ReadBytes(file);

    m->Cond.ProjectTitle = "工事😀";  // no code page 932 form
    EXPECT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), -1);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "条件ﾌｧｲﾙ(.KOV)に書き込み出来ません。");
    EXPECT_EQ(ReadBytes(file), saved);

    test::BuildRichModel(*m);
    m->BndPt[2].Y = std::nan("");
    EXPECT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), -1);
    EXPECT_EQ(ReadBytes(file), saved);

    // Models whose file could not be opened again are not saved either.
    for (int fault = 0; fault < 4; ++fault) {
        test::BuildRichModel(*m);
        if (fault == 0) m->BndPtCount = 501;
        if (fault == 1) m->StageCount = 0;
        if (fault == 2) m->CutLine[1].pt2 = 9;
        if (fault == 3) m->Embankment[0].nPt = 101;
        EXPECT_EQ(WriteCondFile(*m, ps, file.string(), 0, ui), -1) << fault;
        EXPECT_EQ(ReadBytes(file), saved);
    }

    test::BuildRichModel(*m);
    EXPECT_EQ(WriteCondFile(*m, ps, (dir.path / "no" / "such" / "site").string(), 0, ui), -1);
    ps.AppPath = dir.path / "missing";
    ui.Clear();
    EXPECT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), -1);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "計算用条件ﾌｧｲﾙ(KOVA_JKN)に書き込み出来ません。");
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
    auto back = std::make_unique<Model>();
    ASSERT_TRUE(ReadCondFile(*back, ps, SnapshotPath(ps.AppPath, kSnapEdt), ui));
    EXPECT_EQ(Form(*back), Form(*m));
}

TEST_F(ProjectFileTest, SnapshotsCompare) {
    test::BuildRichModel(*m);
    EXPECT_EQ(SnapshotPath(ps.AppPath, kSnapOrg), dir.path / "KOVA_JKN.ORG");
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapOrg, 1, ui), 0);
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), 0);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapCal), -1);  // CAL missing
    EXPECT_EQ(CondFilesDiffer(ps, kSnapCal, kSnapEdt), -1);

    m->BndPt[4].X = 0.001;
    ASSERT_EQ(WriteCondFile(*m, ps, kSnapEdt, 1, ui), 0);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), -1);

    std::filesystem::path org = SnapshotPath(ps.AppPath, kSnapOrg);
    std::filesystem::path edt = SnapshotPath(ps.AppPath, kSnapEdt);
    std::string bytes = ReadBytes(org);
    WriteBytes(edt, bytes + "x\r\n");  // one line more
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), -1);
    EXPECT_EQ(CondFilesDiffer(ps, kSnapOrg, kSnapEdt), -1);
    WriteBytes(edt, bytes.substr(0, bytes.size() - 2));  // last line end lost
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), -1);
    WriteBytes(edt, "");
    WriteBytes(org, "");
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), -1);
    WriteBytes(edt, "000003\r\nAbc\r\n");
    WriteBytes(org, "000003\r\nabc\r\n");  // case counts
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), -1);
    WriteBytes(org, "000003\r\nAbc\r\n");
    EXPECT_EQ(CondFilesDiffer(ps, kSnapEdt, kSnapOrg), 0);
    EXPECT_EQ(ui.Count(), 0u);
}

}  // namespace
}  // namespace kova
