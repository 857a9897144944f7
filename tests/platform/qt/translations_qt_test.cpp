#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <fstream>

#include "platform/qt/translations_qt.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

// Takes out what a test installed so that the next test sees Qt's English.
struct TranslatorsRemoved {
    ~TranslatorsRemoved() {
        for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

QString Cancel() { return QCoreApplication::translate("QPlatformTheme", "Cancel"); }

TEST(QtJapanese, StandardButtonsAndTheFileDialogSpeakJapanese) {
    TranslatorsRemoved cleanup;
    ASSERT_TRUE(InstallQtJapanese(*qApp)) << "qtbase_ja.qm missing: install qt6-translations-l10n";
    EXPECT_EQ(Cancel(), QStringLiteral("キャンセル"));
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));

    QFileDialog dlg;
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    const auto* lookIn = dlg.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    const auto* fileName = dlg.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    ASSERT_TRUE(lookIn && fileName);
    for (const QString& text : {lookIn->text(), fileName->text(), dlg.labelText(QFileDialog::Accept),
                                dlg.labelText(QFileDialog::Reject)}) {
        bool japanese = false;
        for (QChar c : text) japanese |= c.unicode() >= 0x3000;
        EXPECT_TRUE(japanese) << text.toStdString();
    }
    // The print dialog's texts: the ones the catalog has, and the ones it
    // leaves English, from the supplement above it.
    for (const char* source : {"Print all", "Pages", "Double Sided Printing", "Off", "Long side binding"}) {
        const QString text = QCoreApplication::translate("QPrintSettingsOutput", source);
        bool japanese = false;
        for (QChar c : text) japanese |= c.unicode() >= 0x3000;
        EXPECT_TRUE(japanese) << source;
    }
}

TEST(QtJapanese, MissingOrDamagedCatalogLeavesEnglishAndTheNextFolderIsTried) {
    TranslatorsRemoved cleanup;
    test::TempDir empty, damaged;
    std::ofstream(damaged.path() / "qtbase_ja.qm", std::ios::binary) << "not a catalog\x01\x02";
    const QString emptyFolder = QString::fromStdString(empty.path().string());
    const QString damagedFolder = QString::fromStdString(damaged.path().string());

    EXPECT_FALSE(InstallQtJapanese(*qApp, {emptyFolder, damagedFolder, QStringLiteral("/no/such/folder")}));
    EXPECT_TRUE(qApp->findChildren<QTranslator*>().isEmpty());
    EXPECT_EQ(Cancel(), QStringLiteral("Cancel"));
    // The program goes on: a dialog still builds and shows its texts.
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));

    EXPECT_TRUE(InstallQtJapanese(*qApp, QStringList{damagedFolder} + QtTranslationFolders()));
    EXPECT_EQ(qApp->findChildren<QTranslator*>().size(), 2);  // the catalog and what it leaves English
    EXPECT_EQ(Cancel(), QStringLiteral("キャンセル"));
}

}  // namespace
