#include "predict/window/graph_commands.hpp"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/window/f2.hpp"
#include "predict/window/graph_boxes.hpp"
#include "predict/window/graph_options_dialog.hpp"
#include "predict/commands/graph_update.hpp"
#include "predict/window/station_list_dialog.hpp"

namespace kova::predict {

GraphCommands::GraphCommands(f2& window) : QObject(&window), w_(window) {
    GraphInputs in;
    in.data = [this]() -> const ObsDataSet& { return w_.Data(); };
    in.curStation = [this] { return w_.CurStation(); };
    in.maxDaysText = [this] { return w_.txt_n()->text(); };
    in.maxSettlementText = [this] { return w_.txt_t()->text(); };
    in.selected = [this] { return w_.SelectedObservation(); };
    in.slopeText = [this] { return w_.Lbl(2)->text(); };
    in.interceptText = [this] { return w_.Lbl(3)->text(); };
    in.messages = w_.Services().messages;
    in.setHelp = [this](const QString& t) { w_.StatusPanel1()->setText(t); };
    boxes_ = new GraphBoxes(w_.P1(), w_.P2(), std::move(in));

    ccal_ = new QPushButton(Q(kGraphUpdateButtonCaption), w_.Fra1());
    ccal_->setObjectName(QStringLiteral("Ccal"));
    ccal_->setFont(FormFont("ＭＳ Ｐゴシック", 12, true));
    ccal_->setGeometry(TwipsRect(ScreenTwips(&w_), 240, 840, 3315, 555));
    ccal_->setMouseTracking(true);
    ccal_->installEventFilter(this);
    ccal_->show();
    connect(ccal_, &QPushButton::clicked, this, [this] { Ccal_Click(); });

    w_.repaintTimeGraph = [this] { boxes_->RefreshTimeGraph(); };
    w_.repaintRegressionGraph = [this] { boxes_->RefreshRegressionGraph(); };
    w_.stationListCommand = [this] { StationListSequence(); };
    w_.graphOptionsCommand = [this] { ShowGraphOptions(); };
    w_.RepaintGraphs();
}

GraphCommands::~GraphCommands() {
    w_.repaintTimeGraph = nullptr;
    w_.repaintRegressionGraph = nullptr;
    w_.stationListCommand = nullptr;
    w_.graphOptionsCommand = nullptr;
}

void GraphCommands::Ccal_Click() {
    w_.CommitGridEdit();
    GraphUpdateSteps steps;
    steps.copyScreen = [this] { return w_.CopyScreenToCurrentStation(); };
    steps.showResults = [this] { w_.ShowResults(); };
    steps.refreshTimeGraph = [this] { boxes_->RefreshTimeGraph(); };
    steps.refreshRegressionGraph = [this] { boxes_->RefreshRegressionGraph(); };
    UpdateGraphs(w_.Data(), w_.CurStation(), *w_.Services().messages, steps);
}

void GraphCommands::StationListSequence() {
    {
        F1 list(w_.Data(), *w_.Services().messages, &w_,
                [this](const std::string& title, const std::string& firstName) {
                    w_.Label2()->setText(Q(title));
                    w_.Label1()->setText(Q(firstName));
                });
        list.exec();
    }
    w_.EnableStationButtons();
    if (w_.Data().StationCount >= 1) {
        // Station 1 is shown again even when it was shown before: inserts
        // and deletes may have put another record there.
        w_.Opt_p(0)->setChecked(false);
        w_.Opt_p_Click(0);
    } else {
        w_.ShowEmptyStation();
    }
}

void GraphCommands::ShowGraphOptions() {
    Dialog1 options(w_.Data(), *w_.Services().messages, &w_);
    if (options.exec() != QDialog::Accepted) return;
    // The graphs show the new settings at once. A shown prediction was made
    // with the old ones (its end, its target), so it is made again, as the
    // update command makes it; without one the graphs are only redrawn.
    const int k = w_.CurStation();
    const bool predicted = k >= 1 && k <= w_.Data().StationCount &&
                           (w_.Data().Stations[k].FitCount >= 1 || w_.Data().Stations[k].LastDay >= 1);
    if (predicted)
        Ccal_Click();
    else
        w_.RepaintGraphs();
}

bool GraphCommands::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ccal_ && e->type() == QEvent::MouseMove) w_.StatusPanel1()->setText(Q(kGraphUpdateHelp));
    // Where the pointer goes next shows its own help, or none.
    if (watched == ccal_ && e->type() == QEvent::Leave) w_.StatusPanel1()->setText(QStringLiteral(" "));
    return QObject::eventFilter(watched, e);
}

}  // namespace kova::predict
