#pragma once
// F1, the station list: the job title and one grid row per station. Rows
// inserted or deleted in the grid insert or delete whole stations at once;
// OK takes over the title and the names.
#include <functional>
#include <string>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"
#include "shell/fixed_dialog.hpp"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kova::grid {
class QEX_FLG;
}

namespace kova::predict {

class F1 : public FixedDialog {
    Q_OBJECT
public:
    // `showOnMain` receives the job title and the first station's name when
    // OK has stored them. The dialog has no owner; it is centred on `centreOn`.
    F1(ObsDataSet& data, MessageSink& messages, const QWidget* centreOn,
       std::function<void(const std::string& title, const std::string& firstName)> showOnMain);

    void Form_Load();
    void QEXFLG_CellEdited();
    void Command1_Click();

    QLineEdit* Text1() const { return text1_; }
    grid::QEX_FLG* QEXFLG() const { return grid_; }
    QPushButton* Command1() const { return command1_; }

private:
    // Numbers the rows in use in column "No" 1..n, as the observation grid
    // does, after an insert, a delete or a name typed below the last.
    void Renumber();

    ObsDataSet& data_;
    MessageSink& messages_;
    std::function<void(const std::string&, const std::string&)> showOnMain_;
    bool undoing_ = false;
    QLineEdit* text1_ = nullptr;
    grid::QEX_FLG* grid_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace kova::predict
