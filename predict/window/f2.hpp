#pragma once
// The main window of the prediction program: menus and toolbar, the row of
// station buttons, the observation grid, the fit-range boxes and result
// labels, the two graph boxes and the status bar. Its commands are the file
// commands with their unsaved-data check, the calculation run, printing
// through the outside viewer, help and About. Every service is injected so
// that tests run the window on fakes.
#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "platform/settings.hpp"
#include "predict/obsdata.hpp"
#include "predict/window/screen_copy.hpp"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace kova {
namespace grid {
class NumberBox;
}
class RecentFileMenu;
}

namespace kova::predict {

class ObservationGrid;

struct PredictServices {
    MessageSink* messages = nullptr;
    FileDialogs* files = nullptr;
    ProcessRunner* processes = nullptr;
    HelpViewer* help = nullptr;
    SettingsStore* settings = nullptr;
    std::filesystem::path appPath;  // the program folder: snapshots, reports
    std::string versionText;        // of SYSVER.DAT, for the About box
};

inline constexpr const char* kUntitled = "無題";
inline constexpr const char* kDataFilter = "ﾃﾞｰﾀ ﾌｧｲﾙ (*.tlm)|*.tlm";
inline constexpr const char* kHelpFile = "KOVA_TLM.HLP";
inline constexpr const char* kAskSaveText = "現在開いているデータが保存されていません。保存しますか？";
inline constexpr const char* kAskSaveOnCloseText = "検討条件が更新されています。保存しますか？";
inline constexpr const char* kNothingToPrintText = "未計算の為、印刷する帳票はありません。";

// "Tolmadex - " and the chosen file's name without folder, cut before its
// first period ("無題" for an untitled data set).
std::string WindowTitleFor(const std::string& fileName);

class f2 : public QMainWindow {
    Q_OBJECT
public:
    explicit f2(PredictServices services, QWidget* parent = nullptr);
    ~f2() override;

    // Start-up after the splash: title, size, recent files, a new data set
    // and its "ORG" snapshot, the empty grid, old report files deleted.
    void Form_Load();
    void Form_Resize();
    // The folder VIEWQEX2 is started from when it is not the program folder
    // (an installed program keeps its files per user).
    void SetViewerDir(std::filesystem::path dir) { viewerDir_ = std::move(dir); }
    // After the close has been accepted: the recent files read once more.
    void Form_Unload();

    // File commands. The save commands return true when the file was written.
    void new_Click();
    void open_Click();
    bool save_Click();
    bool add_save_Click();
    void mnuRecentFile_Click(int index);
    void printout_Click();
    void end_Click();
    void help_Click();
    void ver_Click();
    void inp_menu_Click(int index);
    void cal_tnk_Click();

    // Grid and station controls.
    void InitObservationGrid();
    void EnableStationButtons();
    void O1_Click(int k);
    void Opt_p_Click(int index);
    void cmd_ks_Click();
    void cmd_op_Click();
    void Command1_Click();
    void Command2_Click();
    void TS_Change();
    void TE_Change();
    void TS_LostFocus();
    void TE_LostFocus();
    void QEXFLG_CellEdited();
    void Toolbar1_ButtonClick(int index);

    // Every command calls this first: an edit still open in a grid cell is
    // finished, checked and stored like any other edit.
    void CommitGridEdit();
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
    void SetCurStation(int k) { curStation_ = k; }
    // True when CurStation is a station in use: only then may the grid and
    // the Sa, Sa' boxes store anything.
    bool StationShown() const { return curStation_ >= 1 && curStation_ <= data_->StationCount; }
    const std::string& CurFileName() const { return curFileName_; }
    bool Printable() const { return printable_; }
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
    QLineEdit* txt_n() const { return txtN_; }
    QLineEdit* txt_t() const { return txtT_; }
    QWidget* P1() const { return p1_; }
    QWidget* P2() const { return p2_; }
    QFrame* Fra1() const { return fra1_; }
    QWidget* Client() const { return client_; }
    QToolBar* Toolbar1() const { return toolbar_; }
    QLabel* StatusPanel1() const { return panel1_; }
    RecentFileMenu* RecentMenu() const { return recent_.get(); }
    QAction* MenuAction(const char* name) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildClient();
    void Place(QWidget* w, int left, int top, int width, int height);

    // The unsaved-data check: false when the command must stop (Cancel, or
    // Yes followed by a save that did not happen).
    bool CheckUnsaved(const char* question);
    // Writes the data file, then the "ORG" snapshot; names the file as the
    // window's file. False (after the message) when the file was not written.
    bool SaveTo(const std::filesystem::path& file);
    void LoadFile(const std::filesystem::path& file);
    void WriteOrgSnapshot();
    void ResetWindowForNewData();
    void SetPanel1(const QString& text);
    // UpDown1's range, value and whether anything is selectable.
    void SetUpDown(int minimum, int maximum, int value, bool enabled);
    void SetRangeBox(QLineEdit* box, bool saPrime);
    void ApplyRangeBox(QLineEdit* box, bool saPrime);
    void RangeLostFocus(QLineEdit* box);
    GridTexts ShownGrid() const;

    PredictServices services_;
    std::filesystem::path viewerDir_;  // empty: the program folder
    std::unique_ptr<ObsDataSet> data_;
    int curStation_ = 0;
    std::string curFileName_ = kUntitled;
    bool printable_ = false;
    bool viewerRunning_ = false;
    bool filling_ = false;  // the program writes the boxes: store nothing
    // Design geometry (twips) of the parts the layout moves.
    int gridLeft_ = 60, gridTop_ = 690, gridWidth_ = 4600, gridHeight_ = 6615;
    int p1Left_ = 4725, p1Top_ = 690, p1Width_ = 7155, p1Height_ = 3285;
    int p2Top_ = 3990, p2Width_ = 3285;

    QWidget* client_ = nullptr;
    ObservationGrid* grid_ = nullptr;
    std::array<QToolButton*, 21> optP_{};
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
    QLineEdit* txtN_ = nullptr;
    QLineEdit* txtT_ = nullptr;
    grid::NumberBox* checkN_ = nullptr;
    grid::NumberBox* checkT_ = nullptr;
    QWidget* p1_ = nullptr;
    QWidget* p2_ = nullptr;
    QFrame* fra1_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* panel1_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    std::unique_ptr<RecentFileMenu> recent_;
};

}  // namespace kova::predict
