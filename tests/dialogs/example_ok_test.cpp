// The worked example is a file the program wrote: reading and writing it
// gives it back byte for byte, and so does opening any data dialog on it
// and pressing OK without an edit (else closing would ask to save a file
// nobody changed).
#include <gtest/gtest.h>

#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/dialog8.hpp"
#include "model/projectfile.hpp"
#include "tests/dialogs/dialog_test_util.hpp"
#include "tests/support/tempdir.hpp"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test::FakeEditorHost;

const fs::path kExample = fs::path(KOVA_EXAMPLES) / "road_embankment.kov";

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The project file the program writes for the model.
std::string Written(Model& m, const fs::path& dir) {
    ProgramState ps;
    ps.AppPath = dir;
    RecordingMessages msgs;
    EXPECT_EQ(WriteCondFile(m, ps, (dir / "out.kov").string(), 0, msgs), 0);
    return Bytes(dir / "out.kov");
}

template <class D>
void OpenOk(FakeEditorHost& host) {
    D d(host, nullptr);
    d.show();
    d.OkClicked();
}

TEST(ExampleUntouched, OkOnEveryDataDialogWritesTheExampleBackByteForByte) {
    const struct {
        const char* name;
        std::function<void(FakeEditorHost&)> run;
    } dialogs[] = {
        {"境界点", OpenOk<Dialog0>},
        {"盛土", OpenOk<Dialog1>},
        {"土層", OpenOk<Dialog4>},
        {"土質定数", OpenOk<Dialog5>},
        // Every curve chosen in turn: choosing is no edit.
        {"土質定数, every curve",
         [](FakeEditorHost& h) {
             Dialog5 d(h, nullptr);
             d.show();
             for (int r = 0; r < d.Qflg_YD()->rowCount(); ++r)
                 for (int c = 2; c < d.Qflg_YD()->columnCount(); ++c) d.Qflg_YD()->setCurrentCell(r, c);
             d.OkClicked();
         }},
        {"載荷工程", OpenOk<Dialog6>},
        {"計算位置", OpenOk<Dialog7>},
        {"砂層", OpenOk<Dialog8>},
        {"切り土", OpenOk<Dialog10>},
        {"促進工法", OpenOk<Dialog11>},
        {"上載荷重", OpenOk<Dialog12>},
        {"計算条件", OpenOk<Dialog13>},
        {"矢板", OpenOk<Dialog15>},
    };
    const std::string example = Bytes(kExample);
    ASSERT_FALSE(example.empty());
    for (const auto& d : dialogs) {
        test::TempDir dir;
        FakeEditorHost host;
        host.appPath = dir.path();
        ProgramState ps;
        RecordingMessages msgs;
        ASSERT_TRUE(ReadCondFile(*host.model, ps, kExample, msgs)) << msgs.Count();
        ASSERT_EQ(Written(*host.model, dir.path()), example) << "read and written as it stands";
        d.run(host);
        EXPECT_EQ(host.messages.Count(), 0u) << d.name;
        EXPECT_EQ(Written(*host.model, dir.path()), example) << d.name;
    }
}

}  // namespace
}  // namespace kova
