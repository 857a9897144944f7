#include "dialogs/grid/qex_flg.hpp"

#include "textio/cell_text.hpp"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/qt/screen_qt.hpp"

namespace kova::grid {

namespace {

// Line edits for text and number cells; a fixed list for drop-down cells, so
// their value is always chosen, never typed.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(GridModel& m, QObject* parent) : QStyledItemDelegate(parent), model_(m) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& opt, const QModelIndex& i) const override {
        if (model_.IsDropDown(i.column())) {
            auto* box = new QComboBox(parent);
            box->setEditable(false);
            box->addItems(model_.DropItems(i.column()));
            return box;
        }
        return QStyledItemDelegate::createEditor(parent, opt, i);
    }
    void setEditorData(QWidget* editor, const QModelIndex& i) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(static_cast<int>(model_.DropItems(i.column()).indexOf(i.data().toString())));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, i);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* m, const QModelIndex& i) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            if (box->currentIndex() >= 0) m->setData(i, box->currentText(), Qt::EditRole);
            return;
        }
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && line->isModified()) {
            m->setData(i, line->text(), GridModel::TypedRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, m, i);
    }

private:
    GridModel& model_;
};

}  // namespace

QEX_FLG::QEX_FLG(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    setItemDelegate(new CellDelegate(model_, this));
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on the current cell opens its editor at once (mouseReleaseEvent),
    // not after the double-click interval: keys typed meanwhile would be
    // lost, or the late editor would open on the row Enter moved to.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(&model_, &GridModel::cellEdited, this, [this](int, int) { emit CellEdited(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { ApplyWidths(); });
    // A refusal first shows the cell's kept text, in an open editor too, and
    // only then its message: the refused text is never on screen with it.
    connect(&model_, &GridModel::editRefused, this, [this](int row, int col) {
        StayAt(row, col);
        ShowCellInEditor(row, col);
        if (messages_) messages_->Notify(NotANumberMessage(row, col).toStdString(), MsgIcon::Exclamation);
    });
    connect(&model_, &GridModel::editReverted, this, [this](int row, int col) {
        StayAt(row, col);
        ShowCellInEditor(row, col);
    });
}

QString QEX_FLG::NotANumberMessage(int row, int col) const {
    return QString::fromStdString(NotANumberText(HeaderName(model_.Cell(0, col)).toStdString(), row));
}

QString HeaderName(const QString& header) {
    QString name;
    for (const QString& line : header.split(QLatin1Char('\n')))
        name += line.trimmed().replace(QRegularExpression(QStringLiteral(" {2,}")), QString());
    return name;
}

void QEX_FLG::ShowCellInEditor(int row, int col) {
    if (state() != QAbstractItemView::EditingState) return;
    if (auto* ed = qobject_cast<QLineEdit*>(indexWidget(model_.index(row - 1, col)))) {
        ed->setText(model_.Cell(row, col));
        ed->selectAll();
        ed->repaint();
    }
}

void QEX_FLG::StayAt(int row, int col) {
    if (state() == QAbstractItemView::EditingState) {
        // closeEditor moves on after the commit; it comes back here.
        stayRow_ = row;
        stayCol_ = col;
        return;
    }
    SetCurrentCell(row, col);
    setFocus(Qt::OtherFocusReason);
}

void QEX_FLG::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    pressedOnCurrent_ = at.isValid() && at == currentIndex() && state() != QAbstractItemView::EditingState &&
                                e->button() == Qt::LeftButton
                            ? QPersistentModelIndex(at)
                            : QPersistentModelIndex();
    QTableView::mousePressEvent(e);
}

void QEX_FLG::mouseReleaseEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    const bool again = pressedOnCurrent_.isValid() && at == pressedOnCurrent_ && e->button() == Qt::LeftButton;
    pressedOnCurrent_ = QPersistentModelIndex();
    QTableView::mouseReleaseEvent(e);
    if (again && state() != QAbstractItemView::EditingState && (model_.flags(at) & Qt::ItemIsEditable))
        edit(at, QAbstractItemView::AllEditTriggers, nullptr);
}

void QEX_FLG::SetDrawing(bool on) {
    setUpdatesEnabled(on);
    if (on) {
        ApplyWidths();
        viewport()->update();
    }
}

void QEX_FLG::SetCols(int cols) {
    model_.SetColCount(cols);
    widthTwips_.resize(static_cast<std::size_t>(model_.ColCount()), 0);
    headerColStyle_.resize(static_cast<std::size_t>(model_.ColCount()), 0);
    ApplyWidths();
}

void QEX_FLG::SetColWidth(int col, int twips) {
    if (col < 0 || col >= model_.ColCount()) return;
    widthTwips_.resize(static_cast<std::size_t>(model_.ColCount()), 0);
    widthTwips_[static_cast<std::size_t>(col)] = twips;
    ApplyWidths();
}

int QEX_FLG::ColWidthTwips(int col) const {
    return col >= 0 && col < static_cast<int>(widthTwips_.size()) ? widthTwips_[static_cast<std::size_t>(col)] : 0;
}

void QEX_FLG::SetRowHeight(int row, int twips) {
    const int px = std::max(1, ScreenTwips(this).ToPixelsY(twips));
    if (row == 0) horizontalHeader()->setFixedHeight(px);
    else if (row <= model_.rowCount()) setRowHeight(row - 1, px);
}

void QEX_FLG::SetHeaderColStyle(int col, int value) {
    if (col >= 0 && col < static_cast<int>(headerColStyle_.size())) headerColStyle_[static_cast<std::size_t>(col)] = value;
}

void QEX_FLG::Initialise(bool, int) {
    initialised_ = true;
    SetCurrentCell(1, model_.HeaderCols());
}

// Twips widths as given, widened where the installed font needs more room
// for the header or the values than the original face did.
void QEX_FLG::ApplyWidths() {
    const TwipsScale s = ScreenTwips(this);
    const QFontMetrics fm(font());
    const QFontMetrics hfm(horizontalHeader()->font());
    verticalHeader()->setDefaultSectionSize(fm.height() + 4);
    for (int c = 0; c < model_.ColCount(); ++c) {
        const int twips = c < static_cast<int>(widthTwips_.size()) ? widthTwips_[static_cast<std::size_t>(c)] : 0;
        int px = twips > 0 ? s.ToPixelsX(twips) : 60;
        // A header of several lines needs its widest line.
        for (const QString& line : model_.Cell(0, c).split(QLatin1Char('\n')))
            px = std::max(px, hfm.horizontalAdvance(line) + 12);
        for (int r = 1; r <= model_.RowsInUse(); ++r) px = std::max(px, fm.horizontalAdvance(model_.Cell(r, c)) + 10);
        if (model_.IsDropDown(c))
            for (const QString& item : model_.DropItems(c)) px = std::max(px, fm.horizontalAdvance(item) + 30);
        setColumnWidth(c, px);
    }
    if (controlTwips_ > 0) SetControlWidth(controlTwips_);
}

int QEX_FLG::NeededWidth() const {
    int w = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < model_.ColCount(); ++c) w += columnWidth(c);
    return w;
}

void QEX_FLG::GrowToShowAllRows() {
    int h = 2 * frameWidth() + horizontalHeader()->height();
    for (int r = 0; r < model_.rowCount(); ++r) h += rowHeight(r);
    if (h > height()) setFixedHeight(h);
}

void QEX_FLG::SetControlWidth(int twips) {
    controlTwips_ = twips;
    setFixedWidth(std::max(ScreenTwips(this).ToPixelsX(twips), NeededWidth()));
}

int QEX_FLG::CurrentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int QEX_FLG::CurrentCol() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : 0;
}

void QEX_FLG::SetCurrentCell(int row, int col) {
    if (row >= 1 && row <= model_.rowCount() && col >= 0 && col < model_.ColCount())
        setCurrentIndex(model_.index(row - 1, col));
}

void QEX_FLG::MoveTo(int row, int col) {
    row = std::clamp(row, 1, std::max(1, model_.rowCount()));
    SetCurrentCell(row, col);
}

bool QEX_FLG::InsertRow() {
    const int row = CurrentRow();
    if (state() == QAbstractItemView::EditingState) return false;
    if (!model_.InsertRowAt(row)) {
        const bool full = !model_.TiedRows() && !model_.ReadOnly() && row >= 1 && row <= model_.RowsInUse() &&
                          model_.RowsInUse() >= model_.RowCount() - 1;
        if (full && messages_ && !fullMessage_.empty()) messages_->Notify(fullMessage_, MsgIcon::Exclamation);
        return false;
    }
    SetCurrentCell(row, std::max(CurrentCol(), model_.HeaderCols()));
    ApplyWidths();
    emit CellEdited();
    return true;
}

bool QEX_FLG::DeleteRow() {
    const int row = CurrentRow();
    if (state() == QAbstractItemView::EditingState) return false;
    if (!model_.DeleteRowAt(row)) return false;
    SetCurrentCell(row, std::max(CurrentCol(), model_.HeaderCols()));
    emit CellEdited();
    return true;
}

void QEX_FLG::keyPressEvent(QKeyEvent* e) {
    if (state() != QAbstractItemView::EditingState) {
        if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
            InsertRow();
            return;
        }
        if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::ControlModifier) {
            DeleteRow();
            return;
        }
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            MoveTo(CurrentRow() + 1, CurrentCol());
            return;
        }
    }
    QTableView::keyPressEvent(e);
}

void QEX_FLG::contextMenuEvent(QContextMenuEvent* e) {
    const QModelIndex at = indexAt(viewport()->mapFromGlobal(e->globalPos()));
    if (at.isValid()) setCurrentIndex(at);
    QMenu menu(this);
    QAction* ins = menu.addAction(QStringLiteral("行の挿入\tIns"));
    QAction* del = menu.addAction(QStringLiteral("行の削除\tCtrl+Del"));
    ins->setEnabled(model_.CanInsertAt(CurrentRow()));
    del->setEnabled(model_.CanDeleteAt(CurrentRow()));
    QAction* chosen = menu.exec(e->globalPos());
    if (chosen == ins) InsertRow();
    else if (chosen == del) DeleteRow();
}

// Enter commits and moves down; Tab commits and moves right (the view's own
// handling of the EditNextItem hint).
void QEX_FLG::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (stayRow_ > 0) {
        // Refused: no move, no editor opened on the next cell.
        const int row = stayRow_, col = stayCol_;
        stayRow_ = stayCol_ = 0;
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        SetCurrentCell(row, col);
        setFocus(Qt::OtherFocusReason);
        ApplyWidths();
        return;
    }
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache) {
        MoveTo(CurrentRow() + 1, CurrentCol());
    }
    ApplyWidths();
}

}  // namespace kova::grid

namespace kova::grid {

// Tab and Shift+Tab pass over the header columns to the next row's first
// data cell or the previous row's last one.
QModelIndex QEX_FLG::moveCursor(CursorAction action, Qt::KeyboardModifiers mods) {
    const QModelIndex from = currentIndex();
    QModelIndex to = QTableView::moveCursor(action, mods);
    const int first = model_.HeaderCols();
    if (!to.isValid() || to.column() >= first || first >= model_.ColCount()) return to;
    if (action == MoveNext) return model_.index(to.row(), first);
    if (action == MovePrevious)
        return from.isValid() && from.row() > 0 ? model_.index(from.row() - 1, model_.ColCount() - 1) : from;
    return to;
}

}  // namespace kova::grid
