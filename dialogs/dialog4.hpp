#pragma once
// Dialog4 "土層情報の入力": names, soil types, methods, drainage, unit
// weights, N values and Cc of the soil layers, live-edit, one row per layer.
#include <vector>

#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QComboBox;
class QPushButton;

namespace kova {

class Dialog4 : public LiveEditDialog {
    Q_OBJECT
public:
    Dialog4(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_DB = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The lists of the soil type, method and drainage columns.
    static const char* const kSoilTypes;
    static const char* const kMethods;
    static const char* const kDrainages;

protected:
    void TakeSnapshot() override;
    void RestoreSnapshot() override;

private:
    void CellEdited();
    std::vector<SoilBlock> savedLayers_;
    std::vector<SoilParamRec> savedParams_;
};

}  // namespace kova
