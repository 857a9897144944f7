// The installed suite as an ordinary user starts it: the front ends in a
// read-only <prefix>/bin, the programs they start in the installation's
// helper folder, the program folder under $XDG_DATA_HOME. Run by
// install_test.sh, as an unprivileged user when started as root, with
// KOVA_PREFIX naming the installation.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/main_window.hpp"
#include "platform/apppath.hpp"
#include "platform/qt/process_qt.hpp"
#include "platform/settings.hpp"
#include "predict/window/f2.hpp"
#include "shell/app_identity.hpp"
#include "shell/pictures.hpp"
#include "testing/qt/editor_services.hpp"
#include "testing/fakes.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/listline.hpp"

namespace fs = std::filesystem;
using namespace kova;

namespace {

fs::path Prefix() {
    const char* p = std::getenv("KOVA_PREFIX");
    return p ? fs::path(p) : fs::path();
}

fs::path UserFolder() { return fs::path(std::getenv("XDG_DATA_HOME")) / "kovadex"; }

// Runs the engine for real; the print viewer is only recorded, since it
// stays open until a person closes it.
class EngineRunsViewerRecorded : public ProcessRunner {
public:
    ProcessStatus RunAndWait(const ProcessRequest& req) override {
        started.push_back(req);
        if (req.program.filename() == "VIEWQEX2") return ProcessStatus{ProcessState::Exited, 0};
        return real_.RunAndWait(req);
    }
    std::vector<ProcessRequest> started;

private:
    QtProcessRunner real_;
};

std::vector<double> Numbers(const fs::path& file) {
    FieldReader r(test::ReadBytes(file));
    std::vector<double> out;
    double v;
    while (!r.AtEnd() && r.Real(v)) out.push_back(v);
    return out;
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Prefix().empty()) << "KOVA_PREFIX names the installation";
        bin = Prefix() / "bin";
        helpers = HelperDir(bin);
        ASSERT_TRUE(fs::exists(bin / "KOVACALC"));
        ASSERT_NE(helpers, bin);
        ASSERT_TRUE(fs::exists(helpers / "SETLCORE"));
        ASSERT_NE(std::getenv("XDG_DATA_HOME"), nullptr);
    }
    fs::path bin;
    fs::path helpers;
};

// KOVACALC as its main() sets it up, pointed at the installed bin/: opens
// the installed example, calculates with the installed SETLCORE and prints.
TEST_F(Installed, TheEditorCalculatesWithTheInstalledEngineInTheUsersFolder) {
    const fs::path app = ResolveAppPathFor(bin);
    ASSERT_EQ(app, UserFolder());
    for (const char* f : {"BKHough1.CSV", "SYSVER.DAT"})
        EXPECT_EQ(test::ReadBytes(app / f), test::ReadBytes(Prefix() / "share" / "kovadex" / f)) << f;

    RecordingMessages msg;
    ScriptedFileDialogs files;
    EngineRunsViewerRecorded processes;
    IniSettings settings(IniSettings::DefaultFolder());
    RecordingHelpViewer help;
    EditorDeps deps = TestEditorDeps(msg, files, processes, settings, help, app, helpers / "SETLCORE",
                                     InstanceLock::DefaultFile("KOVACALC"));
    deps.programDir = helpers;
    deps.showConditions = [](Form1&) { return true; };  // the conditions as the project holds them
    auto form = std::make_unique<Form1>(deps);
    ASSERT_TRUE(form->Load());
    form->show();

    files.Script(Prefix() / "share" / "doc" / "kovadex" / "examples" / "road_embankment.kov");
    form->MenuAction("open")->trigger();
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    const Model& m = form->SectionModel();
    ASSERT_EQ(m.CalcPosCount, 4);

    form->MenuAction("cal_tnk")->trigger();
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].program, helpers / "SETLCORE");
    EXPECT_EQ(processes.started[0].workDir, app);
    EXPECT_TRUE(form->ShowsSettlement());
    const std::vector<double> points = Numbers(app / "tnk1.csv");
    ASSERT_EQ(points.size(), 12u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.CalcPosResult[i].v, points[3 * i + 2]) << i;
    EXPECT_GT(m.CalcPosResult[3].v, 0.1);
    EXPECT_EQ(Numbers(app / "tnk.csv").size(), 3000u);
    for (const char* f : {"CAL_TNK.DAT", "TK_DATA.PDT", "TK_DT_04.PDT", "KT_ZUMEN.PZK", "TNK_MAX.PZK"})
        EXPECT_TRUE(fs::exists(app / f)) << f;

    form->MenuAction("printout")->trigger();
    EXPECT_TRUE(msg.shown.empty()) << msg.Last().text;
    ASSERT_EQ(processes.started.size(), 2u);
    EXPECT_EQ(processes.started[1].program, helpers / "VIEWQEX2");
    EXPECT_EQ(processes.started[1].args, (std::vector<std::string>{"/PDTOPEN", "TK"}));
    EXPECT_EQ(processes.started[1].workDir, app);
#ifdef KOVA_HAS_VIEWER
    EXPECT_TRUE(fs::exists(helpers / "VIEWQEX2"));
#endif
    EXPECT_TRUE(form->close());
}

// TOLMPRED as its main() sets it up: the installed observation example
// calculated into the user's folder, printed by the viewer in the helper
// folder.
TEST_F(Installed, ThePredictionWritesItsReportsInTheUsersFolderAndPrintsFromBin) {
    const fs::path app = ResolveAppPathFor(bin);
    ASSERT_EQ(app, UserFolder());
    RecordingMessages msg;
    ScriptedFileDialogs files;
    EngineRunsViewerRecorded processes;
    RecordingHelpViewer help;
    IniSettings settings(IniSettings::DefaultFolder());
    predict::f2 w(predict::PredictServices{&msg, &files, &processes, &help, &settings, app, "1.00"});
    w.SetViewerDir(HelperDir(bin));
    w.Form_Load();
    files.Script(Prefix() / "share" / "doc" / "kovadex" / "examples" / "observation.tlm");
    w.open_Click();
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    w.cal_tnk_Click();
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    for (const char* f : {"TL_PRD1.PDT", "YOSOKU1.PZK", "KAIKI_1.PZK", "TL_PRD3.PDT"})
        EXPECT_TRUE(fs::exists(app / f)) << f;
    w.printout_Click();
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].program, helpers / "VIEWQEX2");
    EXPECT_EQ(processes.started[0].workDir, app);
    EXPECT_TRUE(msg.shown.empty()) << msg.Last().text;
}

// The icon theme's pictures are the window icon's, at the size of their
// folder.
TEST_F(Installed, TheIconsAreTheWindowIconAtEverySize) {
    const fs::path hicolor = Prefix() / "share" / "icons" / "hicolor";
    const struct {
        const ShellApp& app;
        const char* name;
    } programs[] = {{KovaApp(), "kovacalc"}, {TolmApp(), "tolmpred"}};
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        for (const auto& p : programs) {
            const std::string dim = std::to_string(size) + "x" + std::to_string(size);
            QImage img(QString::fromStdString((hicolor / dim / "apps" / (std::string(p.name) + ".png")).string()));
            ASSERT_FALSE(img.isNull()) << dim << " " << p.name;
            EXPECT_EQ(img.size(), QSize(size, size)) << p.name;
            if (size == 32) {
                EXPECT_EQ(img.convertToFormat(QImage::Format_ARGB32),
                          AppIconPixmap(p.app).toImage().convertToFormat(QImage::Format_ARGB32))
                    << p.name;
            }
        }
    }
}

}  // namespace
