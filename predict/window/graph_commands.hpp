#pragma once
// The graphs and the commands around them, hooked into the prediction
// window: the graph boxes P1 and P2, the update button "沈下予測グラフ更新",
// the station list (button "観測場所" and the menu item "観測位置") and the
// graph options (button "グラフ表示オプション" and the menu item
// "グラフオプション").
#include <QObject>
#include <memory>

class QPushButton;

namespace kova::predict {

class f2;
class GraphBoxes;

class GraphCommands : public QObject {
    Q_OBJECT
public:
    explicit GraphCommands(f2& window);
    ~GraphCommands() override;

    GraphBoxes& Boxes() const { return *boxes_; }
    QPushButton* Ccal() const { return ccal_; }

    // The update button.
    void Ccal_Click();
    // The station list, then the window shows station 1 as it now stands,
    // or the empty layout when no station is left.
    void StationListSequence();
    // The graph options, owned by the window; nothing is redrawn here.
    void ShowGraphOptions();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    f2& w_;
    GraphBoxes* boxes_ = nullptr;
    QPushButton* ccal_ = nullptr;
};

}  // namespace kova::predict
