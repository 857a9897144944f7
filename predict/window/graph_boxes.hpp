#pragma once
// The two graph boxes of the prediction window, P1 (settlement-time) and
// P2 (regression), with the unit labels that lie on them. Each box draws
// its graph into an image at every refresh request and resize; a fault
// shows its message once per refresh request, never from a paint.
#include <QObject>
#include <QString>
#include <functional>

#include "platform/message.hpp"
#include "platform/qt/picture_qt.hpp"
#include "predict/obsdata.hpp"

class QLabel;

namespace kova::predict {

// What the graphs read of the window.
struct GraphInputs {
    std::function<const ObsDataSet&()> data;
    std::function<int()> curStation;
    std::function<QString()> maxDaysText;        // txt_n
    std::function<QString()> maxSettlementText;  // txt_t
    std::function<int()> selected;               // UpDown1, 0 none
    std::function<QString()> slopeText;          // Lbl(2)
    std::function<QString()> interceptText;      // Lbl(3)
    MessageSink* messages = nullptr;
    // Panel 1 of the status bar.
    std::function<void(const QString&)> setHelp;
};

class GraphBoxes : public QObject {
    Q_OBJECT
public:
    // The boxes fill `p1Parent` and `p2Parent`.
    GraphBoxes(QWidget* p1Parent, QWidget* p2Parent, GraphInputs inputs);

    PictureBoxWidget* P1() const { return p1_; }
    PictureBoxWidget* P2() const { return p2_; }
    QLabel* Label3() const { return label3_; }
    QLabel* Label4() const { return label4_; }
    QLabel* Label5() const { return label5_; }

    void RefreshTimeGraph() { p1_->RequestRefresh(); }
    void RefreshRegressionGraph() { p2_->RequestRefresh(); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool DrawTime(Picture& p);
    bool DrawRegression(Picture& p);
    const StationRecord& Shown() const;
    void Fault(const char* text);

    GraphInputs in_;
    PictureBoxWidget* p1_ = nullptr;
    PictureBoxWidget* p2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
};

// The number at the start of a box or label text (blanks skipped), 0 when
// there is none or it cannot be held.
double LeadingNumber(const QString& text);

}  // namespace kova::predict
