#include <gtest/gtest.h>

#include <QFileDialog>

#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/qt_text.hpp"
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

}  // namespace
