#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/qt/messages_qt.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

// Texts of the buttons of a box, left to right as added.
QStringList ButtonTexts(QMessageBox* box) {
    QStringList t;
    for (QAbstractButton* b : box->buttons()) t << b->text();
    return t;
}

TEST(QtMessages, AModalBoxAnsweredByTheUser) {
    QtMessages msgs("Kovadex");
    QString title, text, defaultText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    test::WhenModal<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = ButtonTexts(box);
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        box->button(QMessageBox::Yes)->click();
    });
    MsgAnswer a = msgs.Show(Message{"前回の計算よりデータが更新されています。\r\n前回の計算結果の印刷を行います。",
                                    "", MsgIcon::Information, MsgButtons::YesNoCancel, 1});
    EXPECT_EQ(a, MsgAnswer::Yes);
    EXPECT_EQ(title, QStringLiteral("Kovadex"));  // no caption: the application title
    EXPECT_EQ(text, QStringLiteral("前回の計算よりデータが更新されています。\n前回の計算結果の印刷を行います。"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons.contains(QStringLiteral("はい(&Y)")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("いいえ(&N)")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル")));
    EXPECT_EQ(defaultText, QStringLiteral("いいえ(&N)"));
}

TEST(QtMessages, EnterTakesTheDefaultAndEscTheCancelOrLoneOk) {
    struct Case {
        MsgButtons buttons;
        int defaultButton;
        int key;
        MsgAnswer want;
    } cases[] = {
        {MsgButtons::YesNoCancel, 1, Qt::Key_Return, MsgAnswer::No},
        {MsgButtons::YesNoCancel, 0, Qt::Key_Escape, MsgAnswer::Cancel},
        {MsgButtons::OkCancel, 1, Qt::Key_Return, MsgAnswer::Cancel},
        {MsgButtons::Ok, 0, Qt::Key_Escape, MsgAnswer::Ok},
        {MsgButtons::YesNo, 0, Qt::Key_Return, MsgAnswer::Yes},
    };
    QtMessages msgs("Tolmadex");
    for (const Case& c : cases) {
        QString title;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            QTest::keyClick(box, static_cast<Qt::Key>(c.key));
        });
        MsgAnswer a = msgs.Show(Message{"確認", "保存確認", MsgIcon::Question, c.buttons, c.defaultButton});
        EXPECT_EQ(a, c.want) << static_cast<int>(c.buttons) << " key " << c.key;
        EXPECT_EQ(title, QStringLiteral("保存確認"));
    }
}

TEST(QtMessages, IconsAndPlainText) {
    QtMessages msgs("Kovadex");
    struct Case {
        MsgIcon icon;
        QMessageBox::Icon want;
    } cases[] = {{MsgIcon::Critical, QMessageBox::Critical},
                 {MsgIcon::Exclamation, QMessageBox::Warning},
                 {MsgIcon::Question, QMessageBox::Question},
                 {MsgIcon::None, QMessageBox::NoIcon}};
    for (const Case& c : cases) {
        std::unique_ptr<QMessageBox> box(msgs.Build(Message{"<b>a.kov</b>", "ロードエラー", c.icon, MsgButtons::Ok, 0}, nullptr));
        EXPECT_EQ(box->icon(), c.want);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("ロードエラー"));
    }
}

}  // namespace
