// Every data dialog on the worked example. OK without an edit writes the
// example back byte for byte (it is a file the program wrote). In every
// number column of every grid, a value outside its limits and a text that is
// no number are refused with a message naming the column as its header does,
// and a refusal made while the user edits shows the old text (in an open
// editor too) before its message is up.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
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

void LoadExample(FakeEditorHost& host) {
    ProgramState ps;
    RecordingMessages msgs;
    ASSERT_TRUE(ReadCondFile(*host.model, ps, kExample, msgs));
}

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(EditorHost&)> make;  // shown, maybe prepared
    std::function<void(QDialog&)> ok;
};

template <class D>
DialogCase Case(const char* name, std::function<void(D&)> prepare = {}) {
    return {name,
            [prepare](EditorHost& h) {
                auto d = std::make_unique<D>(h, nullptr);
                d->show();
                if (prepare) prepare(*d);
                return std::unique_ptr<QDialog>(std::move(d));
            },
            [](QDialog& d) { static_cast<D&>(d).OkClicked(); }};
}

// The soil curves take edits once a curve is chosen; choosing is no edit.
DialogCase Curve(const char* name, int col) {
    return Case<Dialog5>(name, [col](Dialog5& d) { d.Qflg_YD()->setCurrentCell(0, col); });
}

std::vector<DialogCase> AllDataDialogs() {
    return {Case<Dialog0>("境界点"), Case<Dialog1>("盛土"), Case<Dialog4>("土層"),
            Curve("土質定数 e", 2), Curve("土質定数 Mv", 3), Curve("土質定数 Cv", 4),
            Case<Dialog6>("載荷工程"), Case<Dialog7>("計算位置"), Case<Dialog8>("砂層"),
            Case<Dialog10>("切り土"), Case<Dialog11>("促進工法"), Case<Dialog12>("上載荷重"),
            Case<Dialog13>("計算条件"), Case<Dialog15>("矢板")};
}

TEST(DataDialogs, OkWithoutAnEditWritesTheExampleBackByteForByte) {
    const std::string example = Bytes(kExample);
    ASSERT_FALSE(example.empty());
    for (const DialogCase& dc : AllDataDialogs()) {
        test::TempDir dir;
        FakeEditorHost host;
        host.appPath = dir.path();
        LoadExample(host);
        const auto written = [&] {
            ProgramState ps;
            EXPECT_EQ(WriteCondFile(*host.model, ps, (dir / "out.kov").string(), 0, host.messages), 0);
            return Bytes(dir / "out.kov");
        };
        ASSERT_EQ(written(), example) << "read and written as it stands";
        dc.ok(*dc.make(host));
        EXPECT_EQ(host.messages.Count(), 0u) << dc.name;
        EXPECT_EQ(written(), example) << dc.name;
    }
}

// Blanks and line breaks dropped: how a header and a message are compared.
std::string Squeezed(QString s) { return s.remove(QRegularExpression(QStringLiteral("\\s"))).toStdString(); }

TEST(DataDialogs, EveryNumberColumnNamesItselfAndShowsTheOldTextFirst) {
    int columns = 0;
    for (const DialogCase& dc : AllDataDialogs())
        for (const char* typed : {"1e300", "x1"}) {
            FakeEditorHost probeHost;
            LoadExample(probeHost);
            const auto shown = dc.make(probeHost);
            const auto probe = shown->findChildren<grid::QEX_FLG*>();
            for (qsizetype gi = 0; gi < probe.size(); ++gi)
                for (int c = 0; c < probe[gi]->Model().ColCount(); ++c) {
                    if (!probe[gi]->Model().IsNumeric(c) || !probe[gi]->Model().IsEditable(1, c)) continue;
                    // One fresh dialog per column: a refusal leaves nothing behind.
                    FakeEditorHost host;
                    LoadExample(host);
                    auto d = dc.make(host);
                    grid::QEX_FLG* g = d->findChildren<grid::QEX_FLG*>()[gi];
                    const QString header = g->Model().Cell(0, c), old = g->Model().Cell(1, c);
                    std::vector<QString> onScreen;  // while the first message is up
                    host.messages.onShow = [&](const Message&) {
                        if (host.messages.Count() > 1) return;
                        onScreen.push_back(g->Model().Cell(1, c));
                        if (auto* ed = qobject_cast<QLineEdit*>(g->indexWidget(g->Model().index(0, c))))
                            onScreen.push_back(ed->text());
                    };
                    const std::string where = std::string(dc.name) + " / " + header.toStdString() + " / " + typed;
                    test::TypeCell(*g, 1, c, QString::fromUtf8(typed));
                    const bool whileTyping = host.messages.Count() > 0;
                    if (!whileTyping) dc.ok(*d);
                    ASSERT_GT(host.messages.Count(), 0u) << where << ": nothing refused";
                    const std::string text = host.messages.shown.front().text;
                    EXPECT_NE(Squeezed(QString::fromStdString(text)).find(Squeezed(header)), std::string::npos)
                        << where << ": " << text;
                    if (whileTyping) {
                        for (const QString& seen : onScreen) EXPECT_EQ(seen, old) << where;
                        EXPECT_EQ(g->Model().Cell(1, c), old) << where;
                    }
                    host.messages.onShow = nullptr;
                    ++columns;
                }
        }
    EXPECT_GE(columns, 2 * 30);  // every dialog's number columns were reached
}

}  // namespace
}  // namespace kova
