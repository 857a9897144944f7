#include "dialogs/table_dialog.hpp"

#include <QPushButton>

namespace kova {

template <class Kind>
grid::QEX_FLG* TableDialog<Kind>::AddGrid(int left, int top, int width, int height, const std::string& fullMessage) {
    auto* g = new grid::QEX_FLG(this);
    g->SetMessages(&this->host_.Messages());
    if (!fullMessage.empty()) g->SetFullMessage(fullMessage);
    this->PlaceTwips(g, left, top, width, height);
    if (!first_) first_ = g;
    return g;
}

template <class Kind>
void TableDialog<Kind>::AddOkCancel(int left, int top) {
    OKButton = this->AddButton(QStringLiteral("OK"), left, top, 1215, 375);
    CancelButton = this->AddButton(QStringLiteral("ｷｬﾝｾﾙ"), left, top + 480, 1215, 375);
}

template <class Kind>
void TableDialog<Kind>::Connect(grid::QEX_FLG* edited) {
    if (edited) QObject::connect(edited, &grid::QEX_FLG::CellEdited, this, &TableDialog::CellEdited);
    QObject::connect(OKButton, &QPushButton::clicked, this, &Kind::OkClicked);
    QObject::connect(CancelButton, &QPushButton::clicked, this, &Kind::CancelClicked);
    if (first_) FocusFirstCell(*first_);
}

void FocusFirstCell(grid::QEX_FLG& g) {
    g.SetCurrentCell(1, g.HeaderCols());
    g.setFocus();
}

bool RefuseAt(grid::QEX_FLG& g, int row, int col, MessageSink& ui, std::string message, MsgIcon icon) {
    ui.Notify(std::move(message), icon);
    g.SetCurrentCell(row, col);
    g.setFocus();
    return false;
}

template class TableDialog<LiveEditDialog>;
template class TableDialog<CommitDialog>;

void LiveTableDialog::TakeSnapshot() { saved_ = std::make_unique<const Model>(host_.SectionModel()); }

void LiveTableDialog::RestoreSnapshot() {
    if (saved_) host_.SectionModel() = *saved_;
}

}  // namespace kova
