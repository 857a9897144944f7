#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/qt/messages_qt.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

TEST(QtMessages, AModalBoxAnsweredByTheUser) {
    QtMessages msgs("Kovadex");
    QString title, text, defaultText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    test::WhenModal<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        box->button(QMessageBox::Yes)->click();
    });
    MsgAnswer a = msgs.Show(Message{"前回の計算よりデータが更新されています。\r\n前回の計算結果の印刷を行います。",
                                    "", MsgIcon::Information, MsgButtons::YesNoCancel, 1});
    EXPECT_EQ(a, MsgAnswer::Yes);
    EXPECT_EQ(title, QStringLiteral("Kovadex"));  // no caption: the application title
    EXPECT_EQ(text, QStringLiteral("前回の計算よりデータが更新されています。\n前回の計算結果の印刷を行います。"));
    EXPECT_EQ(icon, QMessageBox::Information);
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(defaultText, QStringLiteral("いいえ(&N)"));
}

TEST(QtMessages, EnterTakesTheDefaultAndEscTheCancelOrLoneOk) {
    struct Case {
        MsgButtons buttons;
        int defaultButton, key;
        MsgAnswer want;
    } cases[] = {
        {MsgButtons::YesNoCancel, 1, Qt::Key_Return, MsgAnswer::No},
        {MsgButtons::YesNoCancel, 0, Qt::Key_Escape, MsgAnswer::Cancel},
        {MsgButtons::OkCancel, 1, Qt::Key_Return, MsgAnswer::Cancel},
        {MsgButtons::Ok, 0, Qt::Key_Escape, MsgAnswer::Ok},
    };
    QtMessages msgs("Tolmadex");
    for (const Case& c : cases) {
        QString title;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            QTest::keyClick(box, static_cast<Qt::Key>(c.key));
        });
        EXPECT_EQ(msgs.Show(Message{"確認", "保存確認", MsgIcon::Question, c.buttons, c.defaultButton}), c.want)
            << static_cast<int>(c.buttons) << " key " << c.key;
        EXPECT_EQ(title, QStringLiteral("保存確認"));
    }
    // Icons map to Qt's and text is never read as markup.
    std::unique_ptr<QMessageBox> box(msgs.Build(Message{"<b>a</b>", "", MsgIcon::Exclamation, MsgButtons::Ok, 0}, nullptr));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    box.reset(msgs.Build(Message{"x", "", MsgIcon::Critical, MsgButtons::Ok, 0}, nullptr));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
}

// The title bar shows the whole title: the box is at least as wide as the
// title in bold and room for the bar's icon and three buttons, however short
// its text. With no dialog open it belongs to its owner (the dialogs' walks
// are in the programs' tests).
TEST(QtMessages, ABoxFitsItsTitle) {
    QWidget owner;
    owner.show();
    QtMessages msgs("Tolmadex", &owner);
    const struct {
        const char* caption;
        const char* text;
    } cases[] = {
        {"データエラー", "Saが不正です。"},
        {"保存確認", "?"},
        {"ロードエラー", "このアプリケーションは既に起動しています。"},
        {"", "x"},  // the program's title
        {"観測データの読み込みエラー（ファイルの形式が違います）", "a"},
    };
    for (const auto& c : cases) {
        int width = 0;
        QString title;
        QWidget* parent = nullptr;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            width = box->width();
            title = box->windowTitle();
            parent = box->parentWidget();
            box->done(0);
        });
        msgs.Show(Message{c.text, c.caption, MsgIcon::Exclamation, MsgButtons::Ok, 0});
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(title) + 4 * 24) << c.caption;
        EXPECT_EQ(parent, &owner) << c.caption;
    }
}

}  // namespace
