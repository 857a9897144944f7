#include "platform/qt/messages_qt.hpp"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <memory>

#include "platform/qt/qt_text.hpp"

namespace kova {

namespace {

QMessageBox::StandardButton Standard(MsgAnswer a) {
    switch (a) {
    case MsgAnswer::Ok: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Abort: return QMessageBox::Abort;
    case MsgAnswer::Retry: return QMessageBox::Retry;
    case MsgAnswer::Ignore: return QMessageBox::Ignore;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MsgIcon i) {
    switch (i) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A box never narrower than its title needs on a title bar, which also
// holds the window's icon and buttons: the desktop would cut the title
// ("デー…") where the text is short. The box sizes itself on showing and on
// every layout change, so its width is widened after each.
class TitledBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* e) override {
        const bool done = QMessageBox::event(e);
        // A resize too: the window system may report late the size the box
        // was created at.
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Show || e->type() == QEvent::Resize)
            FitTitle();
        return done;
    }
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        FitTitle();
    }

private:
    // The size comes from the box's own layout, never from its current
    // height: before the first layout a new widget still has its default
    // height (30 pixels), and freezing that left an empty sliver of a box.
    void FitTitle() {
        QLayout* grid = layout();
        if (!grid || !isVisible()) return;  // the box sizes itself on showing
        grid->activate();
        // QMessageBox fixes its own width on showing and after each layout
        // (wrapping a long text at its limit); the minimum width of a
        // wrapped text is far less, and a box that narrow showed two
        // sentences as a column of short lines.
        const int own = minimumWidth();
        const int w = std::max({TitleWidth(windowTitle(), font()), grid->totalMinimumSize().width(), own});
        const int h = grid->hasHeightForWidth() ? grid->totalHeightForWidth(w) : grid->totalMinimumSize().height();
        const QSize fit(w, h);
        if (minimumSize() != fit || maximumSize() != fit) setFixedSize(fit);
        // Unchanged bounds resize nothing: a size the window system reported
        // late (the one the box was created at) is put right here.
        if (size() != fit) resize(fit);
    }
};

}  // namespace

int TitleWidth(const QString& title, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);  // title bars often set their text in bold
    const int text = QFontMetrics(bold).horizontalAdvance(title);
    // The icon and up to three buttons of the title bar, each a square of
    // the bar's height, and a margin on either side.
    const int bar = std::max(QFontMetrics(bold).height() + 8, 24);
    return text + 4 * bar + 2 * bar;
}

QWidget* MessageParent(QWidget* owner) {
    // The box belongs to the window the user is in: a modal dialog open over
    // the main window would otherwise fall behind the main window brought
    // forward with the box, and look closed.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return owner;
}

QString ButtonCaption(MsgAnswer a) {
    switch (a) {
    case MsgAnswer::Ok: return QStringLiteral("OK");
    case MsgAnswer::Cancel: return QStringLiteral("キャンセル");
    case MsgAnswer::Abort: return QStringLiteral("中止(&A)");
    case MsgAnswer::Retry: return QStringLiteral("再試行(&R)");
    case MsgAnswer::Ignore: return QStringLiteral("無視(&I)");
    case MsgAnswer::Yes: return QStringLiteral("はい(&Y)");
    case MsgAnswer::No: return QStringLiteral("いいえ(&N)");
    }
    return {};
}

QtMessages::QtMessages(std::string appTitle, QWidget* owner) : title_(std::move(appTitle)), owner_(owner) {}

QMessageBox* QtMessages::Build(const Message& m, QWidget* parent) const {
    auto* box = new TitledBox(parent);
    box->setWindowTitle(Q(m.caption.empty() ? title_ : m.caption));
    box->setTextFormat(Qt::PlainText);  // a "<" in a file name is no markup
    box->setText(DisplayText(m.text));
    box->setIcon(IconOf(m.icon));
    const auto& answers = ButtonsOf(m.buttons);
    QAbstractButton* escape = nullptr;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        QPushButton* b = box->addButton(Standard(answers[i]));
        b->setText(ButtonCaption(answers[i]));
        if (answers[i] == MsgAnswer::Cancel) escape = b;
        if (i == 0 && answers.size() == 1) escape = b;  // a lone OK also answers Esc
    }
    QAbstractButton* def = box->button(Standard(DefaultAnswer(m)));
    if (auto* push = qobject_cast<QPushButton*>(def)) box->setDefaultButton(push);
    box->setEscapeButton(escape);  // none: Esc and the close box do nothing
    return box;
}

MsgAnswer QtMessages::Show(const Message& m) {
    std::unique_ptr<QMessageBox> box(Build(m, MessageParent(owner_.data())));
    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    if (!clicked) return DefaultAnswer(m);
    for (MsgAnswer a : ButtonsOf(m.buttons))
        if (box->button(Standard(a)) == clicked) return a;
    return DefaultAnswer(m);
}

}  // namespace kova
