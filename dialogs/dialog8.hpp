#pragma once
// "砂層のe-LogP曲線": the five sand curves over one pressure column, stored
// on OK, and the default curves of BKHough1.CSV stored or restored.
#include <array>

#include "dialogs/dialog8_form.hpp"
#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

class Dialog8 : public CommitDialog {
    Q_OBJECT
public:
    Dialog8(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_BK() { return grid_; }
    QPushButton* OKButton() { return ok_; }
    QPushButton* CancelButton() { return cancel_; }
    // 0 "現在の値を初期値としてシステム登録", 1 "初期値に戻す".
    QPushButton* cmd_dg9(int index) { return cmd_[static_cast<std::size_t>(index)]; }

protected:
    bool Commit() override;

private:
    void Fill(const SandCurves& curves);
    std::vector<SandRow> GridRows() const;
    void CheckEdit();
    void StoreDefaults();
    void RestoreDefaults();

    grid::QEX_FLG* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::array<QPushButton*, 2> cmd_{};
};

}  // namespace kova
