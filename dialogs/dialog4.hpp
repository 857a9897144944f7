#pragma once
// Dialog4 "土層情報の入力": names, soil types, methods, drainage, unit
// weights, N values and Cc of the soil layers, live-edit, one row per layer.
#include <string>

#include "dialogs/table_dialog.hpp"

namespace kova {

class Dialog4 : public LiveTableDialog {
    Q_OBJECT
public:
    Dialog4(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_DB = nullptr;

    // The lists of the soil type, method and drainage columns.
    static const char* const kSoilTypes;
    static const std::string kMethods;
    static const char* const kDrainages;

protected:
    void CellEdited() override;
    bool CheckOnOk() override;
};

}  // namespace kova
