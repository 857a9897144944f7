#pragma once
// The three kinds of data window of KOVACALC:
// - LiveEditDialog: every finished edit goes into the model at once; a
//   snapshot taken on opening is written back by "ｷｬﾝｾﾙ" and the close box.
// - CommitDialog: the model is written only by OK.
// - ToolPalette: modeless tool buttons that set cmd_mode; its unload work
//   runs exactly once, when it really closes.
// Every data dialog asks for a canvas repaint as it closes: nothing else
// redraws what it covered, and a restored snapshot must show.
#include <QString>
#include <vector>

#include "editing/editor_host.hpp"
#include "shell/fixed_dialog.hpp"

class QAbstractButton;
class QLabel;
class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace kova {

// A modal fixed dialog (no task-bar entry: it has an owner) in the forms'
// font.
class FormDialog : public FixedDialog {
    Q_OBJECT
public:
    FormDialog(EditorHost& host, QWidget* owner, const QString& caption);

    EditorHost& Host() { return host_; }

protected:
    QPushButton* AddButton(const QString& caption, int left, int top, int width, int height);
    QLabel* AddLabel(const QString& caption, int left, int top, int width, int height, QWidget* parent = nullptr);
    // Makes room for a child that the installed font made wider than its
    // twips: every child whose left edge lies at or right of xTwips moves
    // right by extraPx, and the client area grows by as much.
    void WidenRightOf(int xTwips, int extraPx);
    // Makes a frame hold its children whole in the installed font: each is
    // at least as tall as its text needs, none reaches above the frame's
    // contents (below its caption), the frame grows to hold the lowest, and
    // the dialog to hold the frame.
    void FitInFrame(QGroupBox* frame);
    // Centres the dialog on its owner (or the screen).
    void CentreOnOwner() { CentreOn(parentWidget()); }

    // Work of the form's unload, run once after the dialog has closed.
    virtual void Unload() {}

    void done(int r) override;

    EditorHost& host_;

private:
    bool unloaded_ = false;
};

class LiveEditDialog : public FormDialog {
    Q_OBJECT
public:
    enum class CloseReason { Program, TitleBar, Other };

    LiveEditDialog(EditorHost& host, QWidget* owner, const QString& caption);

    int KeepEdits = 0;

    // The button handlers.
    void OkClicked();
    void CancelClicked();

protected:
    // Copies of exactly what the dialog may change, taken before anything is
    // edited, and their restoring.
    virtual void TakeSnapshot() = 0;
    virtual void RestoreSnapshot() = 0;
    // The check on OK; false (after showing its message) keeps the dialog open.
    virtual bool CheckOnOk() { return true; }
    // Takes the snapshot and sets KeepEdits; call first in Form_Load.
    void BeginLoad();

    void closeEvent(QCloseEvent* e) override;
    void done(int r) override;

private:
    void QueryUnload(CloseReason why);
    CloseReason reason_ = CloseReason::Other;
    bool queried_ = false;
};

class CommitDialog : public FormDialog {
    Q_OBJECT
public:
    CommitDialog(EditorHost& host, QWidget* owner, const QString& caption);

    void OkClicked();
    void CancelClicked();

protected:
    // Checks and writes every control back into the model; false (after
    // showing its message) keeps the dialog open with the model untouched.
    virtual bool Commit() = 0;
};

class ToolPalette : public FixedDialog {
    Q_OBJECT
public:
    // blankPrompt: what panel 1 holds after the palette closes.
    ToolPalette(EditorHost& host, QWidget* owner, const QString& caption, std::string blankPrompt);
    ~ToolPalette() override;

    EditorHost& Host() { return host_; }
    // The Option1 buttons, one column, at most one down.
    QAbstractButton* Option(int index) const;
    int OptionCount() const { return static_cast<int>(options_.size()); }
    // "閉じる": no tool on the main window, then close.
    void CloseClicked();
    // Runs the unload work now if it has not run yet. A palette that closes
    // by any way but the tool menu's own closing (its close box, Alt+F4, a
    // window manager) also selects the no-tool option, so that the option
    // that opened it is free to be chosen again.
    void UnloadOnce();

    // While one lives, palettes that close are closed by the tool menu, which
    // chooses the option itself.
    class ToolMenuClosing {
    public:
        ToolMenuClosing() { ++ToolPalette::toolMenuClosing_; }
        ~ToolMenuClosing() { --ToolPalette::toolMenuClosing_; }
        ToolMenuClosing(const ToolMenuClosing&) = delete;
        ToolMenuClosing& operator=(const ToolMenuClosing&) = delete;
    };

protected:
    // Adds the option buttons (top to bottom) and "閉じる" below them;
    // geometry in twips.
    void AddOptions(const std::vector<QString>& captions, int left, int top, int width, int height, int gap);
    // Form_Load: cmd_mode 0, picks cleared, moved to the palette origin.
    void Load();
    // The selection the palette clears on opening: the tools' picks and, by
    // default, the marked lines.
    virtual void ClearPicks();
    virtual void OptionClicked(int index) = 0;
    // Shows a dialog modally with the palette as owner, then sets the option
    // back up so that it can be chosen again.
    void RunModalFromOption(int index, QDialog& dialog);
    void SetOptionUp(int index);

    void closeEvent(QCloseEvent* e) override;
    void done(int r) override;

    EditorHost& host_;
    QButtonGroup* group_ = nullptr;
    std::vector<QAbstractButton*> options_;
    QPushButton* closeButton_ = nullptr;

private:
    std::string blankPrompt_;
    bool unloaded_ = false;
    static inline int toolMenuClosing_ = 0;
};

}  // namespace kova
