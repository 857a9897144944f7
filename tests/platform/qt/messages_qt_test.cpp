#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QProcess>
#include <QResizeEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

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

// Every kind of box, as the first one a new program shows and after others:
// its fixed size holds its text, its icon and every button. A box sized
// before its first layout came out as an empty sliver of its default height.
namespace {

constexpr int kBoxKinds = 5 * 6 * 4;  // icons x button sets x (text, title)

Message BoxKind(int i) {
    static const MsgIcon icons[] = {MsgIcon::None, MsgIcon::Critical, MsgIcon::Question, MsgIcon::Exclamation,
                                    MsgIcon::Information};
    const bool longText = (i / 30) % 2, longTitle = (i / 60) % 2;
    std::string text = longText ? "計算位置のX座標は-99999.999～99999.999の範囲で指定してください。\r\n"
                                  "入力値を確認してください。入力値を確認してください。入力値を確認してください。"
                                  "入力値を確認してください。入力値を確認してください。入力値を確認してください。"
                                : "?";
    return Message{text, longTitle ? "観測データの読み込みエラー（ファイルの形式が違います）" : "",
                   icons[i % 5], static_cast<MsgButtons>(i % 6), 0};
}

// Whether a widget has been resized to a size.
struct SizeSeen : QObject {
    SizeSeen(QWidget* w, QSize size) : size(size) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize && static_cast<QResizeEvent*>(e)->size() == size) seen = true;
        return false;
    }
    QSize size;
    bool seen = false;
};

// The width Qt's own box takes for the same text, icon and buttons.
int PlainBoxWidth(const QMessageBox& box) {
    QMessageBox plain(box.icon(), QString(), box.text(), QMessageBox::NoButton, box.parentWidget());
    plain.setTextFormat(box.textFormat());
    for (QAbstractButton* b : box.buttons()) plain.addButton(b->text(), box.buttonRole(b));
    plain.show();
    QCoreApplication::processEvents();
    return plain.width();
}

void ExpectBoxHolds(QMessageBox* box, const QString& what) {
    const QRect inside = box->rect();
    // A wrapped text has a small minimum width: a box fixed at it showed two
    // sentences as a column of short lines.
    EXPECT_GE(box->width(), PlainBoxWidth(*box)) << what.toStdString();
    EXPECT_EQ(box->minimumSize(), box->maximumSize()) << what.toStdString();
    EXPECT_GE(box->width(), TitleWidth(box->windowTitle(), box->font())) << what.toStdString();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_TRUE(label) << what.toStdString();
    EXPECT_TRUE(label->isVisible()) << what.toStdString();
    EXPECT_TRUE(inside.contains(label->geometry())) << what.toStdString();
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << what.toStdString();
    if (box->icon() != QMessageBox::NoIcon) {
        auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
        ASSERT_TRUE(icon) << what.toStdString();
        EXPECT_TRUE(inside.contains(QRect(icon->mapTo(box, QPoint(0, 0)), icon->pixmap().deviceIndependentSize().toSize())))
            << what.toStdString();
    }
    ASSERT_FALSE(box->buttons().isEmpty());
    for (QAbstractButton* b : box->buttons()) {
        EXPECT_TRUE(b->isVisible()) << what.toStdString();
        EXPECT_TRUE(inside.contains(QRect(b->mapTo(box, QPoint(0, 0)), b->size()))) << what.toStdString();
        EXPECT_GE(b->height(), b->minimumSizeHint().height()) << what.toStdString();
    }
}

// One start of the program: shows a few kinds, the first one chosen by
// KOVA_BOX_START, and fails the process when one does not hold.
TEST(QtMessagesFreshStart, EachBoxHoldsItsContents) {
    const QByteArray start = qgetenv("KOVA_BOX_START");
    if (start.isEmpty()) GTEST_SKIP() << "run by FirstBoxAfterEveryStartHoldsItsContents";
    const int k = start.toInt();
    QWidget owner;  // a box with an owner starts from a child's default size
    owner.show();
    QtMessages msgs("Kovadex", &owner);
    for (int n = 0; n < 4; ++n) {
        const int i = (k + 30 * ((k + n) % 4)) % kBoxKinds;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            ExpectBoxHolds(box, QStringLiteral("kind %1, box %2 after start").arg(i).arg(n + 1));
            box->done(0);
        });
        msgs.Show(BoxKind(i));
    }
    // A layout pass before the box is shown (a window system may ask for
    // one at once) may find it at a child widget's default size.
    for (int n = 0; n < 4; ++n) {
        const int i = (k * 4 + n) % kBoxKinds;
        std::unique_ptr<QMessageBox> box(msgs.Build(BoxKind(i), &owner));
        box->resize(100, 30);
        QEvent layout(QEvent::LayoutRequest);
        QApplication::sendEvent(box.get(), &layout);
        box->show();
        QCoreApplication::processEvents();
        ExpectBoxHolds(box.get(), QStringLiteral("kind %1, laid out before showing").arg(i));
    }
    // A desktop that answers late: the window system reports the size the
    // first box was created at (a new child's 100 x 30) after it is shown,
    // and the box puts its own size back at once.
    for (int n = 0; n < 4; ++n) {
        const int i = (k * 4 + n + 2) % kBoxKinds;
        std::unique_ptr<QMessageBox> box(msgs.Build(BoxKind(i), &owner));
        box->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(box->windowHandle());
        SizeSeen reported(box.get(), QSize(100, 30));
        box->windowHandle()->resize(100, 30);
        // The report arrives as a window system event.
        for (int wait = 0; wait < 200 && !reported.seen; ++wait) QTest::qWait(10);
        ASSERT_TRUE(reported.seen) << "kind " << i;
        QCoreApplication::processEvents();
        ExpectBoxHolds(box.get(), QStringLiteral("kind %1, created size reported after showing").arg(i));
    }
}

TEST(QtMessages, FirstBoxAfterEveryStartHoldsItsContents) {
    // Each start is a new process: the first box of a program meets fonts,
    // styles and sizes nobody has laid out yet.
    for (int k = 0; k < 30; ++k) {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KOVA_BOX_START"), QString::number(k));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=QtMessagesFreshStart.EachBoxHoldsItsContents")});
        ASSERT_TRUE(run.waitForFinished(60000)) << "start " << k;
        EXPECT_EQ(run.exitCode(), 0) << "start " << k << "\n" << run.readAll().toStdString();
    }
}

}  // namespace
