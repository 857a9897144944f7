#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/qt_text.hpp"
#include "testing/fakes.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

TEST(QtFileDialogs, OpenAndSaveReturnTheChosenFileOrNothing) {
    EXPECT_EQ(QtFilter("Text|*.txt;*.csv|All|*.*"), QStringLiteral("Text (*.txt *.csv);;All (*.*)"));
    test::TempDir dir;
    test::WriteBytes(dir / "site.kov", "000003\r\n");
    QtFileDialogs dialogs;
    QString filter;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    test::WhenModal<QFileDialog>([&](QFileDialog* d) {
        filter = d->nameFilters().join(";;");
        mode = d->fileMode();
        d->selectFile(QPath(dir / "site.kov"));
        static_cast<QDialog*>(d)->accept();  // public in QDialog
    });
    auto chosen = dialogs.OpenFile({"ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov", "無題"});
    EXPECT_EQ(chosen, std::optional(dir / "site.kov"));
    EXPECT_EQ(filter, QStringLiteral("ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)"));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    test::WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(dialogs.OpenFile({"ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov", "無題"}).has_value());

    // Saving over an existing file asks nothing.
    bool confirms = true;
    test::WhenModal<QFileDialog>([&](QFileDialog* d) {
        confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
        d->selectFile(QPath(dir / "site.kov"));
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(dialogs.SaveFile({"ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov", (dir / "site.kov").string()}),
              std::optional(dir / "site.kov"));
    EXPECT_FALSE(confirms);
}

// Both dialogs start where the user last chose a file (this run or an
// earlier one), else in the documents folder; never in the folder the
// program runs in. A path given as the initial name starts in its folder.
TEST(QtFileDialogs, StartInTheLastFolderElseTheDocuments) {
    test::TempDir program, a, b;
    test::WriteBytes(b / "old.kov", "000003\r\n");
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(program.path());
    const std::filesystem::path docs = PathOf(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const std::filesystem::path none = std::filesystem::is_directory(docs) ? docs : PathOf(QDir::homePath());
    MemorySettings settings;
    auto first = std::make_unique<QtFileDialogs>();
    first->RememberIn(&settings, "Kova_xxx");
    // Opens with what it started in, choosing `pick` (nothing: cancel).
    auto run = [](QtFileDialogs& d, bool save, const std::string& initial, const std::filesystem::path& pick) {
        std::filesystem::path start;
        test::WhenModal<QFileDialog>([&](QFileDialog* f) {
            start = PathOf(f->directory().absolutePath());
            if (pick.empty()) return f->reject();
            f->selectFile(QPath(pick));
            static_cast<QDialog*>(f)->accept();
        });
        save ? d.SaveFile({"*.kov|*.kov", initial}) : d.OpenFile({"*.kov|*.kov", initial});
        return start;
    };
    const struct {
        const char* what;
        bool save, fresh;
        std::string initial;
        std::filesystem::path pick, start;
    } steps[] = {
        {"first open", false, false, "無題", {}, none},
        {"first save", true, false, "無題", a / "site.kov", none},
        {"open after a save in a", false, false, "無題", {}, a.path()},
        {"a path as the name", false, false, (b / "old.kov").string(), b / "old.kov", b.path()},
        {"save after an open in b", true, false, "site", {}, b.path()},
        {"the next run", true, true, "無題", {}, b.path()},
    };
    for (const auto& s : steps) {
        if (s.fresh) {
            first = std::make_unique<QtFileDialogs>();
            first->RememberIn(&settings, "Kova_xxx");
        }
        const std::filesystem::path start = run(*first, s.save, s.initial, s.pick);
        EXPECT_EQ(std::filesystem::weakly_canonical(start), std::filesystem::weakly_canonical(s.start)) << s.what;
        EXPECT_NE(std::filesystem::weakly_canonical(start), std::filesystem::weakly_canonical(program.path())) << s.what;
    }
    std::filesystem::current_path(was);
}

}  // namespace
