#include "dialogs/dialog13.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "textio/cell_text.hpp"
#include "dialogs/grid/number_box.hpp"
#include "dialogs/table_form.hpp"

namespace kova {

namespace {

// A switch the model holds as 0 or 1; any other value shows as the third
// state and is kept until the user clicks the box.
void SetSwitch(QCheckBox* box, i16 v) {
    if (v == 0 || v == 1) {
        box->setChecked(v == 1);
        return;
    }
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    QObject::connect(box, &QCheckBox::clicked, box, [box] { box->setTristate(false); });
}

i16 SwitchOf(const QCheckBox* box, i16 old) {
    if (box->checkState() == Qt::PartiallyChecked) return old;
    return box->isChecked() ? 1 : 0;
}

// The two pressure methods; a code outside them shows as its number, as a
// third entry, and is kept unless the user picks one of the two.
void SetMethod(QComboBox* box, i16 v) {
    box->addItem(QStringLiteral("P=P0+ΔP/2"));
    box->addItem(QStringLiteral("P=√(P0*(P0+ΔP))"));
    if (v == 0 || v == 1) {
        box->setCurrentIndex(v);
        return;
    }
    box->addItem(QString::number(v));
    box->setCurrentIndex(2);
}

i16 MethodOf(const QComboBox* box, i16 old) {
    if (box->currentIndex() == 2) return old;
    return box->currentIndex() == 0 ? 0 : 1;
}

}  // namespace

Dialog13::Dialog13(EditorHost& host, QWidget* owner)
    : CommitDialog(host, owner, QStringLiteral("沈下量・沈下時間の予測")) {
    SetClientTwips(6945, 5370);
    OKButton = AddButton(QStringLiteral("計算"), 5460, 420, 1215, 375);
    CancelButton = AddButton(QStringLiteral("ｷｬﾝｾﾙ"), 5460, 900, 1215, 375);

    QGroupBox* amount = Frame(QStringLiteral("沈下量"), 240, 300, 4935, 1575);
    chk_dg12[0] = new QCheckBox(QStringLiteral("切り土による先行圧密荷重を考慮"), amount);
    PlaceIn(chk_dg12[0], 240, 360, 3135, 255);
    chk_dg12[1] = new QCheckBox(QStringLiteral("砂質土地盤の即時沈下を考慮"), amount);
    PlaceIn(chk_dg12[1], 240, 720, 3015, 255);
    cmb_dg12[0] = new QComboBox(amount);
    PlaceIn(cmb_dg12[0], 2640, 1080, 1995, 300);
    AddLabel(QStringLiteral("Mv値を導くPの求め方"), 300, 1140, 2175, 255, amount);

    QGroupBox* time = Frame(QStringLiteral("沈下時間"), 240, 2100, 4935, 1575);
    txt_dg12[0] = new QLineEdit(time);
    PlaceIn(txt_dg12[0], 2640, 360, 1095, 255);
    opt_dg12[0] = new QRadioButton(QStringLiteral("放置期間指定"), time);
    PlaceIn(opt_dg12[0], 300, 360, 1815, 255);
    opt_dg12[1] = new QRadioButton(QStringLiteral("残留沈下量指定"), time);
    PlaceIn(opt_dg12[1], 300, 720, 1815, 255);
    txt_dg12[1] = new QLineEdit(time);
    PlaceIn(txt_dg12[1], 2640, 720, 1095, 255);
    cmb_dg12[1] = new QComboBox(time);
    PlaceIn(cmb_dg12[1], 2640, 1080, 1995, 300);
    AddLabel(QStringLiteral("Cv値を導くPの求め方"), 360, 1140, 2175, 255, time);

    QGroupBox* report = Frame(QStringLiteral("帳票"), 240, 3900, 4935, 855);
    chk_dg12[2] = new QCheckBox(QStringLiteral("地形図のX軸/Y軸のスケールを個別に自動調整"), report);
    PlaceIn(chk_dg12[2], 240, 360, 4395, 255);

    // Tab order as the form has it.
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, chk_dg12[0]);
    setTabOrder(chk_dg12[0], chk_dg12[1]);
    setTabOrder(chk_dg12[1], cmb_dg12[0]);
    setTabOrder(cmb_dg12[0], txt_dg12[0]);
    setTabOrder(txt_dg12[0], opt_dg12[0]);
    setTabOrder(opt_dg12[0], opt_dg12[1]);
    setTabOrder(opt_dg12[1], txt_dg12[1]);
    setTabOrder(txt_dg12[1], cmb_dg12[1]);
    setTabOrder(cmb_dg12[1], chk_dg12[2]);

    // Form_Load
    const StudyCond& c = host_.SectionModel().Cond;
    SetMethod(cmb_dg12[0], c.MvPMethod);
    SetMethod(cmb_dg12[1], c.CvPMethod);
    shownLeave_ = Fmt(c.LeavePeriod, "#0");
    shownResidual_ = Fmt(c.ResidualSettlement, "0.000");
    txt_dg12[0]->setText(shownLeave_);
    txt_dg12[1]->setText(shownResidual_);
    // Each box is checked when it is left, as a table cell is: named by
    // the option beside it, within the calculation's range.
    checks_[0] = new grid::NumberBox(txt_dg12[0], opt_dg12[0]->text(), "#0", &host_.Messages());
    checks_[0]->SetLimit(Item::LeavePeriod, [](std::string_view text) -> std::optional<double> {
        const auto v = grid::NumericValue(text);
        const auto n = v ? grid::ToInt16(*v) : std::nullopt;
        if (!n) return std::nullopt;
        return *n;
    });
    checks_[1] = new grid::NumberBox(txt_dg12[1], opt_dg12[1]->text(), "0.000", &host_.Messages());
    checks_[1]->SetLimit(Item::ResidualSettlement, nullptr);
    SetSwitch(chk_dg12[0], c.UseCutPreload);
    SetSwitch(chk_dg12[1], c.UseSandImmediate);
    SetSwitch(chk_dg12[2], c.AutoScaleXY);
    if (c.TimeCondKind == 0) opt_dg12[0]->setChecked(true);
    if (c.TimeCondKind == 1) opt_dg12[1]->setChecked(true);

    // Frames and boxes widen where the installed font needs it.
    int right = 0;
    for (QGroupBox* f : {amount, time, report}) {
        for (QWidget* w : f->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->sizeHint().width() > b->width())
                b->resize(b->sizeHint().width(), b->height());
            if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->sizeHint().width() > cb->width())
                cb->resize(cb->sizeHint().width(), cb->height());
            right = std::max(right, f->x() + w->x() + w->width() + Px(240));
        }
    }
    const int frameRight = amount->x() + amount->width();
    if (right > frameRight) {
        for (QGroupBox* f : {amount, time, report}) f->resize(f->width() + right - frameRight, f->height());
        WidenRightOf(5460, right - frameRight);
    }
    CentreOnOwner();
    OKButton->setFocus();

    connect(OKButton, &QPushButton::clicked, this, &Dialog13::OkClicked);
    connect(CancelButton, &QPushButton::clicked, this, &Dialog13::CancelRun);
}

QGroupBox* Dialog13::Frame(const QString& caption, int left, int top, int width, int height) {
    auto* f = new QGroupBox(caption, this);
    PlaceTwips(f, left, top, width, height);
    return f;
}

void Dialog13::PlaceIn(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Px(left), Py(top), Px(width), std::max(Py(height), w->sizeHint().height()));
}

// The close box cancels the run too: the dialog ends rejected.
void Dialog13::CancelRun() { reject(); }

void Dialog13::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        CancelRun();
        return;
    }
    CommitDialog::keyPressEvent(e);
}

bool Dialog13::Commit() {
    StudyCond& c = host_.SectionModel().Cond;
    // A box still being edited is checked as on leaving it.
    for (grid::NumberBox* b : checks_)
        if (!b->Leave()) return false;
    // An untouched box stores the value it was filled with; a typed one what
    // it shows, which leaving it has checked.
    i16 leave = c.LeavePeriod;
    if (txt_dg12[0]->text() != shownLeave_ || checks_[0]->Typed()) {
        const auto v = checks_[0]->StorableValue();
        if (!v) return false;
        leave = static_cast<i16>(*v);
    }
    double residual = c.ResidualSettlement;
    if (txt_dg12[1]->text() != shownResidual_ || checks_[1]->Typed()) {
        const auto v = checks_[1]->StorableValue();
        if (!v) return false;
        residual = *v;
    }
    c.MvPMethod = MethodOf(cmb_dg12[0], c.MvPMethod);
    c.CvPMethod = MethodOf(cmb_dg12[1], c.CvPMethod);
    c.LeavePeriod = leave;
    c.ResidualSettlement = residual;
    c.UseCutPreload = SwitchOf(chk_dg12[0], c.UseCutPreload);
    c.UseSandImmediate = SwitchOf(chk_dg12[1], c.UseSandImmediate);
    c.AutoScaleXY = SwitchOf(chk_dg12[2], c.AutoScaleXY);
    if (opt_dg12[0]->isChecked()) c.TimeCondKind = 0;
    else if (opt_dg12[1]->isChecked()) c.TimeCondKind = 1;
    return true;
}

}  // namespace kova
