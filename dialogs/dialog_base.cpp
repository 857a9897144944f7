#include "dialogs/dialog_base.hpp"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/screen_qt.hpp"

namespace kova {

// ---- FormDialog ---------------------------------------------------------------

FormDialog::FormDialog(EditorHost& host, QWidget* owner, const QString& caption)
    : FixedDialog(owner, caption), host_(host) {
    setModal(true);
    setFont(FormFont("ＭＳ Ｐゴシック", 9));
}

QPushButton* FormDialog::AddButton(const QString& caption, int left, int top, int width, int height) {
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    b->setDefault(false);
    PlaceTwips(b, left, top, width, height);
    return b;
}

QLabel* FormDialog::AddLabel(const QString& caption, int left, int top, int width, int height, QWidget* parent) {
    auto* l = new QLabel(caption, parent ? parent : this);
    PlaceTwips(l, left, top, width, height);
    // The installed font may need more room than the original face.
    if (l->sizeHint().width() > l->width()) l->resize(l->sizeHint().width(), l->height());
    return l;
}

void FormDialog::FitInFrame(QGroupBox* frame) {
    const QList<QWidget*> kids = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (kids.isEmpty()) return;
    int top = frame->height(), bottom = 0;
    for (QWidget* w : kids) {
        if (w->sizeHint().height() > w->height()) w->resize(w->width(), w->sizeHint().height());
        top = std::min(top, w->y());
    }
    const int down = std::max(0, frame->contentsRect().top() + 2 - top);
    for (QWidget* w : kids) {
        w->move(w->x(), w->y() + down);
        bottom = std::max(bottom, w->y() + w->height());
    }
    const int need = bottom + frame->contentsMargins().bottom() + 2;
    if (need > frame->height()) frame->resize(frame->width(), need);
    const int dialogNeed = frame->y() + frame->height() + Py(120);
    if (dialogNeed > height()) setFixedSize(width(), dialogNeed);
}

void FormDialog::WidenRightOf(int xTwips, int extraPx) {
    if (extraPx <= 0) return;
    const int x = Px(xTwips);
    for (QObject* o : children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow() && w->x() >= x) w->move(w->x() + extraPx, w->y());
    setFixedSize(width() + extraPx, height());
}

void FormDialog::done(int r) {
    QDialog::done(r);
    if (unloaded_) return;
    unloaded_ = true;
    Unload();
    host_.Refresh();
}

// ---- LiveEditDialog -------------------------------------------------------------

LiveEditDialog::LiveEditDialog(EditorHost& host, QWidget* owner, const QString& caption)
    : FormDialog(host, owner, caption) {}

void LiveEditDialog::BeginLoad() {
    TakeSnapshot();
    KeepEdits = 1;
}

void LiveEditDialog::OkClicked() {
    if (!CheckOnOk()) return;  // the edits made so far stay in the model
    reason_ = CloseReason::Program;
    accept();
}

void LiveEditDialog::CancelClicked() {
    KeepEdits = 0;
    reason_ = CloseReason::Program;
    reject();
}

void LiveEditDialog::closeEvent(QCloseEvent* e) {
    // OK and Cancel close through accept and reject; a close event is the
    // close box, the window menu or Alt+F4. (A closing owner only hides the
    // dialog, which keeps the edits.)
    reason_ = CloseReason::TitleBar;
    QDialog::closeEvent(e);
}

void LiveEditDialog::done(int r) {
    if (!queried_) {
        queried_ = true;
        QueryUnload(reason_);
    }
    FormDialog::done(r);
}

void LiveEditDialog::QueryUnload(CloseReason why) {
    if (why == CloseReason::TitleBar || KeepEdits == 0) RestoreSnapshot();
}

// ---- CommitDialog ---------------------------------------------------------------

CommitDialog::CommitDialog(EditorHost& host, QWidget* owner, const QString& caption)
    : FormDialog(host, owner, caption) {}

void CommitDialog::OkClicked() {
    if (Commit()) accept();
}

void CommitDialog::CancelClicked() { reject(); }

// ---- ToolPalette ----------------------------------------------------------------

ToolPalette::ToolPalette(EditorHost& host, QWidget* owner, const QString& caption, std::string blankPrompt)
    : FixedDialog(owner, caption, Qt::Tool), host_(host), blankPrompt_(std::move(blankPrompt)) {
    setModal(false);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { OptionClicked(id); });
    // A main window that closes closes its palettes once it has decided to
    // (a refused close leaves them working): the unload runs from their own
    // close event then, never from the main window's.
}

ToolPalette::~ToolPalette() = default;

QAbstractButton* ToolPalette::Option(int index) const {
    return index >= 0 && index < static_cast<int>(options_.size()) ? options_[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}

void ToolPalette::AddOptions(const std::vector<QString>& captions, int left, int top, int width, int height, int gap) {
    int y = top;
    for (std::size_t i = 0; i < captions.size(); ++i, y += height + gap) {
        auto* b = new QPushButton(captions[i], this);
        b->setCheckable(true);
        b->setAutoDefault(false);
        PlaceTwips(b, left, y, width, height);
        group_->addButton(b, static_cast<int>(i));
        options_.push_back(b);
    }
    closeButton_ = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton_->setAutoDefault(false);
    PlaceTwips(closeButton_, left, y, width, height);
    connect(closeButton_, &QPushButton::clicked, this, &ToolPalette::CloseClicked);
}

void ToolPalette::ClearPicks() { host_.State().ClearSelection(); }

void ToolPalette::Load() {
    host_.ResetTool(ToolReset::kCanvasTaken);
    ClearPicks();
    const TwipsPoint at = host_.PaletteOrigin();
    move(Px(at.left), Py(at.top));
}

void ToolPalette::SetOptionUp(int index) {
    QAbstractButton* b = Option(index);
    if (!b) return;
    group_->setExclusive(false);
    b->setChecked(false);
    group_->setExclusive(true);
}

void ToolPalette::RunModalFromOption(int index, QDialog& dialog) {
    dialog.exec();
    SetOptionUp(index);
}

void ToolPalette::CloseClicked() {
    host_.SelectToolOption(kNoToolOption);
    close();
}

void ToolPalette::UnloadOnce() {
    if (unloaded_) return;
    unloaded_ = true;
    // The tool menu closes every palette (and this one again: harmless)
    // before it shows the no-tool option down.
    if (toolMenuClosing_ == 0) host_.SelectToolOption(kNoToolOption);
    host_.ResetTool(ToolReset::kCanvasTaken);
    host_.SetStatusText(1, blankPrompt_);
}

void ToolPalette::closeEvent(QCloseEvent* e) {
    UnloadOnce();
    QDialog::closeEvent(e);
}

void ToolPalette::done(int r) {
    // Every way of closing ends here, also one that bypasses the close event.
    UnloadOnce();
    QDialog::done(r);
}

}  // namespace kova
