#include <gtest/gtest.h>

#include <QFileDialog>
#include <fstream>

#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/qt_text.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

TEST(QtFilter, WritesQtFilterText) {
    EXPECT_EQ(QtFilter("ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov"), QStringLiteral("ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)"));
    EXPECT_EQ(QtFilter("ﾃﾞｰﾀ ﾌｧｲﾙ (*.tlm)|*.tlm"), QStringLiteral("ﾃﾞｰﾀ ﾌｧｲﾙ (*.tlm)"));
    EXPECT_EQ(QtFilter("Text|*.txt;*.csv|All|*.*"), QStringLiteral("Text (*.txt *.csv);;All (*.*)"));
    EXPECT_EQ(QtFilter(""), QString());
}

TEST(QtFileDialogs, OpenReturnsTheChosenFileOrNothing) {
    test::TempDir dir;
    std::ofstream(dir / "site.kov") << "000003\r\n";
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
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir / "site.kov");
    EXPECT_EQ(filter, QStringLiteral("ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)"));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);

    test::WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(dialogs.OpenFile({"ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov", "無題"}).has_value());
}

TEST(QtFileDialogs, SaveAcceptsNewAndExistingNamesWithoutAQuestion) {
    test::TempDir dir;
    std::ofstream(dir / "old.tlm") << "x";
    QtFileDialogs dialogs;
    for (const char* name : {"new.tlm", "old.tlm"}) {
        bool confirms = true;
        test::WhenModal<QFileDialog>([&](QFileDialog* d) {
            confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
            d->selectFile(QPath(dir / name));
            static_cast<QDialog*>(d)->accept();  // public in QDialog
        });
        auto chosen = dialogs.SaveFile({"ﾃﾞｰﾀ ﾌｧｲﾙ (*.tlm)|*.tlm", (dir / "old.tlm").string()});
        ASSERT_TRUE(chosen.has_value()) << name;
        EXPECT_EQ(*chosen, dir / name);
        EXPECT_FALSE(confirms);
    }
}

}  // namespace
