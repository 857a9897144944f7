#pragma once
// Dialog1 "盛土情報の入力": names, unit weights and loading stages of the
// embankments, live-edit, one row per embankment.
#include "dialogs/table_columns.hpp"
#include "dialogs/table_dialog.hpp"

namespace kova {

class Dialog1 : public LiveTableDialog {
    Q_OBJECT
public:
    Dialog1(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_MB = nullptr;

protected:
    void RestoreSnapshot() override;
    bool CheckOnOk() override;
    void CellEdited() override;

private:
    const ColumnTable<SoilBlock>& Columns() const;
};

}  // namespace kova
