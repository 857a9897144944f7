#pragma once
// Which window each message box belongs to: while a watch is alive, every
// box that opens is noted (its text and its parent) and answered at once.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

namespace kova::test {

class BoxWatch {
public:
    struct Box {
        std::string text;
        QPointer<QWidget> parent;
    };

    BoxWatch() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start();
    }

    const std::vector<Box>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == answered_) return;
        answered_ = box;
        boxes_.push_back({box->text().toStdString(), box->parentWidget()});
        box->done(0);
    }

    QTimer timer_;
    QPointer<QMessageBox> answered_;
    std::vector<Box> boxes_;
};

}  // namespace kova::test
