// Every number column of every grid of the data dialogs, on the worked
// example: a value outside its limits and a text that is no number are each
// refused with a message that names the column as its header does, and a
// refusal made while the user edits shows the cell's old text (in the open
// editor too) before its message is up.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <functional>
#include <memory>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/dialog8.hpp"
#include "model/projectfile.hpp"
#include "tests/dialogs/dialog_test_util.hpp"

namespace kova {
namespace {

// What the screen showed of the edited cell when a message came up.
struct Seen {
    std::string text;
    QString cell;
    std::optional<QString> editor;  // while an editor was open on it
};

class WatchingHost : public test::FakeEditorHost {
public:
    MessageSink& Messages() override { return watch; }

    struct Watch : RecordingMessages {
        MsgAnswer Show(const Message& m) override {
            Seen s{m.text, {}, {}};
            if (grid) {
                s.cell = grid->Model().Cell(row, col);
                if (auto* ed = qobject_cast<QLineEdit*>(grid->indexWidget(grid->Model().index(row - 1, col))))
                    s.editor = ed->text();
            }
            seen.push_back(s);
            return RecordingMessages::Show(m);
        }
        grid::QEX_FLG* grid = nullptr;
        int row = 1, col = 1;
        std::vector<Seen> seen;
    } watch;
};

// Blanks and line breaks dropped: how a header and a message are compared.
std::string Squeezed(QString s) {
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s.toStdString();
}

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(EditorHost&)> make;
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

std::vector<DialogCase> AllGridDialogs() {
    return {
        Case<Dialog0>("境界点"),
        Case<Dialog1>("盛土"),
        Case<Dialog4>("土層"),
        // The points take edits once a curve is chosen: e-logP, logMv, logCv.
        Case<Dialog5>("土質定数 e", [](Dialog5& d) { d.Qflg_YD()->setCurrentCell(0, 2); }),
        Case<Dialog5>("土質定数 Mv", [](Dialog5& d) { d.Qflg_YD()->setCurrentCell(0, 3); }),
        Case<Dialog5>("土質定数 Cv", [](Dialog5& d) { d.Qflg_YD()->setCurrentCell(0, 4); }),
        Case<Dialog6>("載荷工程"),
        Case<Dialog7>("計算位置"),
        Case<Dialog8>("砂層"),
        Case<Dialog10>("切り土"),
        Case<Dialog11>("促進工法"),
        Case<Dialog12>("上載荷重"),
        Case<Dialog15>("矢板"),
    };
}

void LoadExample(Model& m) {
    ProgramState ps;
    RecordingMessages msgs;
    ASSERT_TRUE(ReadCondFile(m, ps, std::filesystem::path(KOVA_EXAMPLES) / "road_embankment.kov", msgs));
}

TEST(GridRefusals, EveryNumberColumnNamesItselfAndShowsTheOldTextFirst) {
    int columns = 0;
    for (const DialogCase& dc : AllGridDialogs())
        for (const char* typed : {"1e300", "x1"}) {
            // One fresh dialog per column: a refusal leaves nothing behind.
            for (int gi = 0;; ++gi) {
                WatchingHost probeHost;
                LoadExample(*probeHost.model);
                auto probe = dc.make(probeHost);
                const auto grids = probe->findChildren<grid::QEX_FLG*>();
                if (gi >= grids.size()) break;
                const int cols = grids[gi]->Model().ColCount();
                for (int c = 0; c < cols; ++c) {
                    if (!grids[gi]->Model().IsNumeric(c) || !grids[gi]->Model().IsEditable(1, c)) continue;
                    WatchingHost host;
                    LoadExample(*host.model);
                    auto d = dc.make(host);
                    grid::QEX_FLG* g = d->findChildren<grid::QEX_FLG*>()[gi];
                    const QString header = g->Model().Cell(0, c);
                    const QString old = g->Model().Cell(1, c);
                    host.watch.grid = g;
                    host.watch.col = c;
                    const std::string where = std::string(dc.name) + " / " + header.toStdString() + " / " + typed;
                    test::TypeCell(*g, 1, c, QString::fromUtf8(typed));
                    const std::size_t whileTyping = host.watch.seen.size();
                    if (whileTyping == 0) dc.ok(*d);
                    ASSERT_FALSE(host.watch.seen.empty()) << where << ": nothing refused";
                    const Seen& first = host.watch.seen.front();
                    EXPECT_NE(Squeezed(QString::fromStdString(first.text)).find(Squeezed(header)), std::string::npos)
                        << where << ": " << first.text;
                    if (whileTyping > 0) {
                        EXPECT_EQ(first.cell, old) << where;
                        if (first.editor) {
                            EXPECT_EQ(*first.editor, old) << where;
                        }
                        EXPECT_EQ(g->Model().Cell(1, c), old) << where;
                    }
                    ++columns;
                }
            }
        }
    EXPECT_GE(columns, 2 * 30);  // every dialog's number columns were reached
}

}  // namespace
}  // namespace kova
