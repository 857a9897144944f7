#pragma once
// Form1: the main window of KOVACALC. It holds the session (model, program
// state, view and selection), lays out menu, toolbar, tool options, canvas,
// scroll bars and status bar, and wires every action to a small command
// object (ProjectCommands, RunCommands) or view operation.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "editing/project_commands.hpp"
#include "editing/run_commands.hpp"
#include "editing/session.hpp"
#include "editing/canvas_view.hpp"
#include "platform/desktop_services.hpp"
#include "platform/instance_lock.hpp"
#include "platform/settings.hpp"
#include "platform/twips.hpp"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QScrollBar;
class QToolButton;

namespace kova {

class CommandTable;
class RecentFileMenu;
class RunningBox;
class SectionCanvas;
class ToolHost;
class Form1;

// Everything the window gets from outside; tests pass fakes.
struct EditorDeps : DesktopServices {
    std::filesystem::path engineProgram;  // SETLCORE
    // The folder of the executables, VIEWQEX2 is started from there; empty:
    // the program folder.
    std::filesystem::path programDir;
    std::filesystem::path lockFile;       // one running instance
    std::string cmdLine;
    bool splash = true;
    // Opens the form of tool option i (modal ones return when closed);
    // by default the dialogs' own OpenToolForm.
    std::function<void(Form1&, int)> openToolForm;
    // The calculation-conditions dialog, modal; false when cancelled. By
    // default the dialogs' ShowCalcConditions.
    std::function<bool(Form1&)> showConditions;
};

// One implementation per operation: Refresh answers CanvasView and the
// EditorHost under CommandHost alike.
class Form1 : public QMainWindow, public CanvasView, public CommandHost {
    Q_OBJECT
public:
    explicit Form1(EditorDeps deps, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up. False when another instance runs: the user has been told,
    // nothing was written, and the window closes without a question.
    bool Load();

    // Commands, as the menus and the toolbar reach them.
    void NewProject() { project_->New(); }
    void OpenProject() { project_->Open(); }
    void OpenDxf() { project_->DxfOpen(); }
    void SaveProject() { project_->Save(); }
    void SaveProjectAs() { project_->SaveAs(); }
    void OpenRecentFile(int index);
    void Calculate() { run_->Calculate(); }
    void PrintReports() { run_->Print(); }
    void ShowHelpFile();
    void ShowVersion();
    void ToggleSettledSurface();
    void SelectToolOption(int index) override;  // runs whenever code calls it
    void SelectInputMenu(int entry);            // the option it maps to, button untouched

    // View commands.
    void ShowWholeView() override;
    void ZoomIn();
    void ZoomOut();

    // CanvasView.
    void DrawSegment(int x1, int y1, int x2, int y2, int colour) override;
    void FillPolygon(const ScreenPoint* pts, int n, int colour) override;
    void Refresh() override;
    int SetScrollValue(ScrollBar bar, int value) override;
    void SetCursor(CanvasCursor cursor) override;
    void SetToolbarButtonPressed(int button, bool pressed) override;

    // State.
    Session& GetSession() { return session_; }
    // EditorHost, under CommandHost.
    Model& SectionModel() override { return *session_.model; }
    EditorState& State() override { return *session_.es; }
    void SwitchTool(int mode) override;
    void DropPicks(int mode) override;
    void ResetTool(ToolReset why) override;
    void SetStatusText(int panel, const std::string& text) override;
    QWidget* OwnerWidget() override { return this; }
    TwipsPoint WindowOrigin() override;
    MessageSink& Messages() override { return *deps_.messages; }
    std::filesystem::path AppPath() override { return session_.ps.AppPath; }

    const std::string& CurrentFileName() const { return session_.currentFileName; }
    bool Busy() const { return busy_; }
    // The "計算中です。" box of a long engine run.
    RunningNotice* EngineNotice() override;
    // The settled surface and the position values are drawn: the menu item
    // is checked and a run left results.
    bool ShowsSettlement() const;
    const TwipsScale& Twips() const { return twips_; }
    std::string StatusText(int panel) const;

    // Controls, by their names.
    QAction* MenuAction(const std::string& name) const;
    QAction* ToolbarButton(int index) const;
    QToolButton* ToolOptionButton(int index) const { return options_[static_cast<std::size_t>(index)]; }
    SectionCanvas* Canvas() const { return canvas_; }
    // The canvas tools the canvas's presses and moves reach (model metres).
    ToolHost& CanvasTools() const { return *canvasTools_; }
    QScrollBar* HScroll() const { return hsb_; }
    QScrollBar* VScroll() const { return vsb_; }
    RecentFileMenu* Recent() const { return recent_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // CommandHost.
    void SetCaption(const std::string& caption) override;
    void ResetScrollBars() override;
    void AddRecentFile(const std::string& path) override;
    void SetBusy(bool busy) override;
    void SetWaitCursor(bool on) override;
    bool ShowConditionsDialog() override;

    void BuildCommands();
    void BuildBody();
    void LayoutBody();
    void FitOuterSize();
    // Shows an option down without running its handler.
    void ShowOptionDown(QAbstractButton* b);
    void OnScroll(ScrollBar bar, int value);

    EditorDeps deps_;
    Session session_;
    Services services_;
    std::unique_ptr<ProjectCommands> project_;
    std::unique_ptr<RunCommands> run_;
    std::unique_ptr<InstanceLock> lock_;
    ToolHost* canvasTools_ = nullptr;  // owned by its wiring, a child of the window
    bool refused_ = false;
    bool loaded_ = false;
    bool busy_ = false;
    bool waitCursor_ = false;
    bool sized_ = false;
    bool outerPending_ = false;  // the start-up size still waits for the frame
    bool quietOptions_ = false;  // options set down by code, not chosen
    TwipsScale twips_;

    std::unique_ptr<CommandTable> actions_;
    RecentFileMenu* recent_ = nullptr;
    QWidget* body_ = nullptr;
    QWidget* strip_ = nullptr;
    QButtonGroup* optionGroup_ = nullptr;
    std::array<QToolButton*, 9> options_{};
    SectionCanvas* canvas_ = nullptr;
    QScrollBar* hsb_ = nullptr;
    QScrollBar* vsb_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    RunningBox* runningBox_ = nullptr;
};

}  // namespace kova
