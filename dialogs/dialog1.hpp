#pragma once
// Dialog1 "盛土情報の入力": names, unit weights and loading stages of the
// embankments, live-edit, one row per embankment.
#include "dialogs/table_dialog.hpp"

namespace kova {

inline constexpr const char* kStageMessage = "段階載荷番号には1～5を指定してください";

class Dialog1 : public LiveTableDialog {
    Q_OBJECT
public:
    Dialog1(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_MB = nullptr;

protected:
    void RestoreSnapshot() override;
    bool CheckOnOk() override;
    void CellEdited() override;
};

}  // namespace kova
