#pragma once
// The small modal box "計算中です。" shown while the engine runs longer than
// a moment: its one button "中止" ends the engine, and the run then counts as
// failed.
#include <QDialog>
#include <functional>

#include "platform/process.hpp"

class QPushButton;

namespace kova {

inline constexpr const char* kRunningText = "計算中です。";
inline constexpr const char* kStopCaption = "中止";

class RunningBox : public QDialog, public RunningNotice {
    Q_OBJECT
public:
    // owner: the main window, disabled while the engine runs; the box stays
    // usable over it.
    explicit RunningBox(QWidget* owner);

    void Show(std::function<void()> stop) override;
    void Hide() override;

    QPushButton* StopButton() const { return stopButton_; }

protected:
    // Only "中止" ends the box: neither Esc nor the window manager's close.
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void StopClicked();

    std::function<void()> stop_;
    QPushButton* stopButton_ = nullptr;
    bool hiding_ = false;
};

}  // namespace kova
