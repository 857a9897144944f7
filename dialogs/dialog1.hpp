#pragma once
// Dialog1 "盛土情報の入力": names, unit weights and loading stages of the
// embankments, live-edit, one row per embankment.
#include <vector>

#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

inline constexpr const char* kStageMessage = "段階載荷番号には1～5を指定してください";

class Dialog1 : public LiveEditDialog {
    Q_OBJECT
public:
    Dialog1(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_MB = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void TakeSnapshot() override;
    void RestoreSnapshot() override;
    bool CheckOnOk() override;

private:
    void CellEdited();
    std::vector<SoilBlock> saved_;
};

}  // namespace kova
