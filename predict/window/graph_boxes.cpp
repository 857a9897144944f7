#include "predict/window/graph_boxes.hpp"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "textio/cell_text.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/hyperbolic.hpp"
#include "predict/commands/graphs.hpp"

namespace kova::predict {

double LeadingNumber(const QString& text) {
    const std::optional<double> v = grid::NumericValue(U(text));
    return v && std::isfinite(*v) ? *v : 0.0;
}

namespace {

PictureBoxWidget* MakeBox(QWidget* parent, const char* name) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* box = new PictureBoxWidget(parent);
    box->setObjectName(QLatin1String(name));
    box->setFont(FormFont("ＭＳ Ｐゴシック", 9));
    box->setMouseTracking(true);
    layout->addWidget(box);
    return box;
}

QLabel* UnitLabel(QWidget* box, const char* name, const char* caption, const LabelBox& b) {
    auto* l = new QLabel(Q(caption), box);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(TwipsRect(ScreenTwips(box), static_cast<int>(b.left), static_cast<int>(b.top),
                             static_cast<int>(b.right - b.left), static_cast<int>(b.bottom - b.top)));
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

}  // namespace

GraphBoxes::GraphBoxes(QWidget* p1Parent, QWidget* p2Parent, GraphInputs inputs)
    : QObject(p1Parent), in_(std::move(inputs)) {
    p1_ = MakeBox(p1Parent, "P1");
    p2_ = MakeBox(p2Parent, "P2");
    // Each in a corner that no label of its graph takes.
    label3_ = UnitLabel(p1_, "Label3", "(ｍ)", SettlementUnitBox());
    label4_ = UnitLabel(p1_, "Label4", "(日)", TimeUnitBox());
    label5_ = UnitLabel(p2_, "Label5", "(日/ｍ)", RatioUnitBox());
    p1_->SetDraw([this](Picture& p) { return DrawTime(p); });
    p2_->SetDraw([this](Picture& p) { return DrawRegression(p); });
    p1_->SetFaultHandler([this] { Fault(kTimeGraphFaultText); });
    p2_->SetFaultHandler([this] { Fault(kRegressionGraphFaultText); });
    p1_->installEventFilter(this);
    p2_->installEventFilter(this);
}

const StationRecord& GraphBoxes::Shown() const {
    const ObsDataSet& data = in_.data();
    return data.Stations[static_cast<std::size_t>(std::clamp(in_.curStation(), 0, kMaxStations))];
}

bool GraphBoxes::DrawTime(Picture& p) {
    TimeGraphView view;
    view.maxDays = LeadingNumber(in_.maxDaysText());
    view.maxSettlement = LeadingNumber(in_.maxSettlementText());
    view.selected = in_.selected ? in_.selected() : 0;
    const GraphOutcome out = DrawTimeGraph(p, in_.data(), Shown(), view);
    if (out.unitCaption) label4_->setText(Q(*out.unitCaption));
    if (out.unitBox) {
        const LabelBox& b = *out.unitBox;
        label4_->setGeometry(TwipsRect(ScreenTwips(p1_), static_cast<int>(b.left), static_cast<int>(b.top),
                                       static_cast<int>(b.right - b.left), static_cast<int>(b.bottom - b.top)));
    }
    return out.ok;
}

bool GraphBoxes::DrawRegression(Picture& p) {
    const double beta = LeadingNumber(in_.slopeText());
    const double alpha = LeadingNumber(in_.interceptText());
    return DrawRegressionGraph(p, Shown(), alpha, beta).ok;
}

void GraphBoxes::Fault(const char* text) {
    if (in_.messages) in_.messages->Show(Message{text, kAppTitle, MsgIcon::Exclamation, MsgButtons::Ok, 0});
}

bool GraphBoxes::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove && in_.setHelp) {
        if (watched == p1_) in_.setHelp(Q(kTimeGraphHelp));
        if (watched == p2_) in_.setHelp(Q(kRegressionGraphHelp));
    }
    // Where the pointer goes next shows its own help, or none.
    if (e->type() == QEvent::Leave && in_.setHelp && (watched == p1_ || watched == p2_))
        in_.setHelp(QStringLiteral(" "));
    return QObject::eventFilter(watched, e);
}

}  // namespace kova::predict
