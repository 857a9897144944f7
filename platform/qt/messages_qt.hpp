#pragma once
// Modal message boxes on Qt.
#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/message.hpp"

class QMessageBox;

namespace kova {

// Japanese captions of the standard buttons, as the desktop shows them.
QString ButtonCaption(MsgAnswer a);

// The window a message box or file dialog belongs to: the modal dialog the user is in when
// there is one, else the owner (the main window).
QWidget* MessageParent(QWidget* owner);

// The least width of a box whose title bar shows `title` whole.
int TitleWidth(const QString& title, const QFont& font);

// Every box of a program passes through here: its parent follows
// MessageParent, its width TitleWidth.
class QtMessages : public MessageSink {
public:
    explicit QtMessages(std::string appTitle, QWidget* owner = nullptr);
    void SetOwner(QWidget* owner) { owner_ = owner; }
    const std::string& AppTitle() const { return title_; }

    MsgAnswer Show(const Message& m) override;

    // Builds the box without showing it (the box the user would see).
    QMessageBox* Build(const Message& m, QWidget* parent) const;

private:
    std::string title_;
    QPointer<QWidget> owner_;
};

}  // namespace kova
