#pragma once
// The main window of the prediction program: menus and toolbar, the row of
// station buttons, the observation grid, the fit-range boxes and result
// labels, the two graph boxes and the status bar. The file commands, their
// unsaved-data check and printing are TlmCommands (tlm_commands.hpp); the
// window runs the calculation, help and About and edits the stations. Every
// service is injected so that tests run the window on fakes.
#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/desktop_services.hpp"
#include "predict/obsdata.hpp"
#include "predict/commands/screen_copy.hpp"
#include "predict/commands/tlm_commands.hpp"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kova {
namespace grid {
class NumberBox;
}
class CommandTable;
class RecentFileMenu;
}

namespace kova::predict {

class ObservationGrid;

struct PredictServices : DesktopServices {
    std::string versionText;  // of SYSVER.DAT, for the About box
};

inline constexpr const char* kHelpFile = "KOVA_TLM.HLP";

// The part of the window that follows its size (twips): the grid's height,
// the time graph P1 and the regression graph P2 below it, square.
struct GraphArea {
    int gridHeight = 6615;
    int p1Left = 4725, p1Top = 690, p1Width = 7155, p1Height = 3285;
    int p2Top = 3990, p2Width = 3285;
};
// The controls the layout places from the graph area (f2.cpp).
inline constexpr std::size_t kLayoutRows = 6;

class f2 : public QMainWindow, private TlmCommandHost {
    Q_OBJECT
public:
    explicit f2(PredictServices services, QWidget* parent = nullptr);
    ~f2() override;

    // Start-up after the splash: title, size, recent files, a new data set
    // and its "ORG" snapshot, the empty grid, old report files deleted.
    void Form_Load();
    // The folder VIEWQEX2 is started from when it is not the program folder
    // (an installed program keeps its files per user).
    void SetViewerDir(std::filesystem::path dir) { commands_.SetViewerDir(std::move(dir)); }

    // File commands (TlmCommands). The save commands return true when the
    // file was written.
    void new_Click() { commands_.New(); }
    void open_Click() { commands_.Open(); }
    bool save_Click() { return commands_.Save(); }
    bool add_save_Click() { return commands_.SaveAs(); }
    void mnuRecentFile_Click(int index) { commands_.OpenRecent(index); }
    void printout_Click() { commands_.Print(); }
    void help_Click();
    void ver_Click();
    void cal_tnk_Click();

    // Grid and station controls.
    void EnableStationButtons();
    void Opt_p_Click(int index);
    void Command1_Click();
    void TS_LostFocus();
    void TE_LostFocus();
    void Toolbar1_ButtonClick(int index);

    // Every command calls this first: an edit still open in a grid cell is
    // finished, checked and stored like any other edit.
    void CommitGridEdit() override;
    // The copy of the grid and the Sa, Sa' boxes into the current station
    // (the calculation run and the graph update make it). False, with a
    // message, when a box or a row is refused; nothing changed then.
    bool CopyScreenToCurrentStation();
    // The four result labels from the current station's results.
    void ShowResults();
    // No station shown: no station option selected, the empty read-only
    // grid, nothing selectable in UpDown1, Sa and Sa' "0", blank results.
    void ShowEmptyStation();
    void UncheckStationButtons();
    // Repaints both graphs (the graph boxes draw what they read).
    void RepaintGraphs();
    void RepaintTimeGraph();

    // Hooks the graph, station-list and options commands plug into.
    std::function<void()> stationListCommand;  // cmd_ks and "観測位置"
    std::function<void()> graphOptionsCommand;  // cmd_op and "グラフオプション"
    std::function<void()> repaintTimeGraph;     // P1
    std::function<void()> repaintRegressionGraph;  // P2

    // State.
    ObsDataSet& Data() { return *data_; }
    const ObsDataSet& Data() const { return *data_; }
    int CurStation() const { return curStation_; }
    const std::string& CurFileName() const { return commands_.FileName(); }
    bool Printable() const { return commands_.Printable(); }
    // The observation selected by UpDown1, 0 when none.
    int SelectedObservation() const;
    const PredictServices& Services() const { return services_; }

    // Controls, by their form names.
    ObservationGrid* QEXFLG() const { return grid_; }
    QToolButton* Opt_p(int i) const { return optP_[static_cast<std::size_t>(i)]; }
    QPushButton* cmd_ks() const { return cmdKs_; }
    QPushButton* cmd_op() const { return cmdOp_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QLineEdit* TS() const { return ts_; }
    QLineEdit* TE() const { return te_; }
    QLabel* Lbl(int i) const { return lbl_[static_cast<std::size_t>(i)]; }
    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    QSpinBox* UpDown1() const { return upDown1_; }
    // The spinner's arrows: 0 left (previous observation), 1 right (next).
    QToolButton* UpDownArrow(int i) const { return upDownArrows_[static_cast<std::size_t>(i)]; }
    QLineEdit* txt_n() const { return txtN_; }
    QLineEdit* txt_t() const { return txtT_; }
    QWidget* P1() const { return p1_; }
    QWidget* P2() const { return p2_; }
    QFrame* Fra1() const { return fra1_; }
    QWidget* Client() const { return client_; }
    QLabel* StatusPanel1() const { return panel1_; }
    RecentFileMenu* RecentMenu() const { return recent_.get(); }
    QAction* MenuAction(const char* name) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // TlmCommandHost
    void SetCaption(const std::string& fileName) override;
    void ResetForNewData() override;
    void ShowNewData() override;
    void ShowLoadedData() override;
    void AddRecentFile(const std::string& path) override;
    std::optional<std::filesystem::path> RecentFile(int index) override;
    void SetWindowEnabled(bool enabled) override { setEnabled(enabled); }

    void Form_Resize();
    // After the close has been accepted: the recent files read once more.
    void Form_Unload();
    void end_Click();
    void inp_menu_Click(int index);
    void InitObservationGrid();
    void O1_Click(int k);
    void cmd_ks_Click();
    void cmd_op_Click();
    void Command2_Click();
    void TS_Change();
    void TE_Change();
    void QEXFLG_CellEdited();
    // True when CurStation is a station in use: only then may the grid and
    // the Sa, Sa' boxes store anything.
    bool StationShown() const { return curStation_ >= 1 && curStation_ <= data_->StationCount; }

    void BuildCommands();
    void BuildClient();
    void Place(QWidget* w, int left, int top, int width, int height);

    void ResetWindowForNewData();
    void SetPanel1(const QString& text);
    // UpDown1's range, value and whether anything is selectable.
    void SetUpDown(int minimum, int maximum, int value, bool enabled);
    void SetRangeBox(QLineEdit* box, bool saPrime);
    void ApplyRangeBox(bool saPrime);
    GridTexts ShownGrid() const;

    PredictServices services_;
    std::unique_ptr<ObsDataSet> data_;
    TlmCommands commands_;
    int curStation_ = 0;
    bool filling_ = false;  // the program writes the boxes: store nothing
    // The graph area (twips) of the last size the layout could follow: a
    // window too small keeps it.
    GraphArea area_;
    std::array<QWidget*, kLayoutRows> layoutControls_{};

    QWidget* client_ = nullptr;
    ObservationGrid* grid_ = nullptr;
    // The station buttons and the hidden "観測所登録" after them.
    std::array<QToolButton*, kMaxStations + 1> optP_{};
    QPushButton* cmdKs_ = nullptr;
    QPushButton* cmdOp_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QLineEdit* ts_ = nullptr;
    QLineEdit* te_ = nullptr;
    std::array<QLabel*, 8> lbl_{};
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QSpinBox* upDown1_ = nullptr;
    std::array<QToolButton*, 2> upDownArrows_{};  // left: previous, right: next
    QLineEdit* txtN_ = nullptr;
    QLineEdit* txtT_ = nullptr;
    grid::NumberBox* checkN_ = nullptr;
    grid::NumberBox* checkT_ = nullptr;
    grid::NumberBox* checkS_ = nullptr;  // TS, Sa
    grid::NumberBox* checkE_ = nullptr;  // TE, Sa'
    QWidget* p1_ = nullptr;
    QWidget* p2_ = nullptr;
    QFrame* fra1_ = nullptr;
    std::unique_ptr<CommandTable> actions_;
    QLabel* panel1_ = nullptr;
    std::unique_ptr<RecentFileMenu> recent_;
};

}  // namespace kova::predict
