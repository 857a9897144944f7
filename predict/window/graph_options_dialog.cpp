#include "predict/window/graph_options_dialog.hpp"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/grid/number_box.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/commands/graph_options.hpp"

namespace kova::predict {

Dialog1::Dialog1(ObsSettings& settings, MessageSink& messages, QWidget* owner)
    : FixedDialog(owner, Q(kGraphOptionsCaption)), settings_(settings), messages_(messages) {
    SetClientTwips(6030, 4305);
    setObjectName(QStringLiteral("Dialog1"));
    setFont(FormFont("ＭＳ Ｐゴシック", 9));

    auto frame = [this](const char* name, const char* caption, int l, int t, int w, int h) {
        auto* f = new QGroupBox(Q(caption), this);
        f->setObjectName(QLatin1String(name));
        PlaceTextTwips(f, l, t, w, h);
        return f;
    };
    auto option = [this](QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h) {
        auto* o = new QRadioButton(Q(caption), parent);
        o->setObjectName(QLatin1String(name));
        PlaceTextTwips(o, l, t, w, h);
        return o;
    };
    // A box refuses, when it is left, text that is no number and a number
    // the observation file cannot hold, naming the caption beside it, and
    // then shows the number with its decimals.
    std::size_t checked = 0;
    auto box = [this, &checked](QWidget* parent, const char* name, const char* caption, int decimals, Item item,
                                int l, int t, int w, int h) {
        auto* b = new QLineEdit(parent);
        b->setObjectName(QLatin1String(name));
        PlaceTextTwips(b, l, t, w, h);
        grid::NumberBox* check = checks_[checked++] = new grid::NumberBox(
            b, Q(caption), [decimals](std::string_view text) { return OptionBoxText(text, decimals); }, &messages_);
        check->SetLimit(item, nullptr);
        return b;
    };

    QGroupBox* fra1 = frame("Fra1_1", "沈下時間", 240, 300, 4095, 1635);
    o2_[0] = option(fra1, "O2_0", "放置期間指定（日）", 240, 300, 2325, 285);
    t1_[0] = box(fra1, "T1_0", "放置期間指定（日）", kLeaveDaysDecimals, Item::ObsLeaveDays, 2820, 300, 975, 270);
    o2_[2] = option(fra1, "O2_2", "残留沈下量指定（ｍ）", 240, 600, 2235, 285);
    t1_[1] = box(fra1, "T1_1", "残留沈下量指定（ｍ）", kResidualDecimals, Item::ObsResidualSettlement, 2820, 600, 975, 270);
    o2_[1] = option(fra1, "O2_1", "圧密度指定（％）", 240, 900, 2175, 285);
    t1_[2] = box(fra1, "T1_2", "圧密度指定（％）", kPercentDecimals, Item::ObsTargetPercent, 2820, 900, 975, 270);
    o2_[3] = option(fra1, "O2_3", "指定なし", 240, 1200, 2235, 285);

    QGroupBox* frame1 = frame("Frame1", "計算終了条件", 240, 2100, 4095, 795);
    auto* lbl5 = new QLabel(Q("圧密度（％）"), frame1);
    lbl5->setObjectName(QStringLiteral("Lbl_5"));
    PlaceTextTwips(lbl5, 480, 330, 1200, 240);
    t2_ = box(frame1, "T2", "計算終了条件の圧密度（％）", kEndPercentDecimals, Item::ObsEndConditionPercent,
             2820, 300, 975, 270);

    QGroupBox* frame2 = frame("Frame2", "時間軸表示", 240, 3060, 4095, 1035);
    o3_[0] = option(frame2, "O3_0", "経過日数", 240, 300, 2835, 285);
    o3_[1] = option(frame2, "O3_1", "年月", 240, 600, 2835, 285);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    PlaceTextTwips(ok_, 4680, 120, 1215, 375);
    cancel_ = new QPushButton(Q("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    PlaceTextTwips(cancel_, 4680, 600, 1215, 375);
    for (QPushButton* b : {ok_, cancel_}) b->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });

    // The state before the settings are read in.
    o2_[3]->setChecked(true);
    o3_[0]->setChecked(true);
    checks_[3]->SetStored(QStringLiteral("95"));
    Form_Load();
    CentreOn(owner);
}

void Dialog1::Form_Load() {
    GraphOptionTexts before;
    before.settlementOption = 3;
    before.timeAxisMode = 0;
    for (int i = 0; i < 4; ++i)
        if (o2_[static_cast<std::size_t>(i)]->isChecked()) before.settlementOption = i;
    if (o3_[1]->isChecked()) before.timeAxisMode = 1;
    const GraphOptionTexts t = LoadGraphOptions(settings_, before);
    filled_ = {Q(t.leaveDays), Q(t.residual), Q(t.percent), Q(t.endPercent)};
    checks_[3]->SetStored(filled_[3]);
    checks_[0]->SetStored(filled_[0]);
    checks_[1]->SetStored(filled_[1]);
    checks_[2]->SetStored(filled_[2]);
    o2_[static_cast<std::size_t>(t.settlementOption)]->setChecked(true);
    o3_[static_cast<std::size_t>(t.timeAxisMode)]->setChecked(true);
}

void Dialog1::OKButton_Click() {
    // A box still being edited is checked as on leaving it.
    for (grid::NumberBox* b : checks_)
        if (!b->Leave()) return;
    GraphOptionTexts t;
    t.endPercent = U(t2_->text());
    t.leaveDays = U(t1_[0]->text());
    t.residual = U(t1_[1]->text());
    t.percent = U(t1_[2]->text());
    for (int i = 0; i < 4; ++i)
        if (o2_[static_cast<std::size_t>(i)]->isChecked()) t.settlementOption = i;
    t.timeAxisMode = o3_[1]->isChecked() ? 1 : 0;
    const ObsSettings before = settings_;
    if (auto refused = ApplyGraphOptions(t, settings_)) {
        messages_.Show(*refused);
        return;
    }
    // A box the user left alone gives back the value it was filled with,
    // every digit of it, not the rounded text it shows.
    auto untouched = [this](std::size_t i) {
        const std::array<QLineEdit*, 4> boxes{t1_[0], t1_[1], t1_[2], t2_};
        return !checks_[i]->Typed() && boxes[i]->text() == filled_[i];
    };
    if (untouched(1)) settings_.ResidualSettlement = before.ResidualSettlement;
    if (untouched(2)) settings_.TargetPercent = before.TargetPercent;
    if (untouched(3)) settings_.EndConditionPercent = before.EndConditionPercent;
    accept();
}

}  // namespace kova::predict
