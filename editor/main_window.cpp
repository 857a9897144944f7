#include "editor/main_window.hpp"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMoveEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

#include "dialogs/tool_palettes.hpp"
#include "editor/canvas_wiring.hpp"
#include "editing/layout.hpp"
#include "editor/run_notice.hpp"
#include "editor/section_canvas.hpp"
#include "editing/mouse_tools.hpp"
#include "editing/view_commands.hpp"
#include "editing/tool_options.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "editing/view.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "shell/about.hpp"
#include "shell/app_identity.hpp"
#include "shell/command_table.hpp"
#include "shell/pictures.hpp"
#include "shell/recent_menu.hpp"
#include "shell/splash.hpp"
#include "shell/version_file.hpp"

namespace kova {

namespace {

constexpr const char* kHelpFile = "KOVACALC.HLP";

// A magnifier with "+", "-" or a frame (whole view) for the view buttons.
QIcon ViewIcon(char sign) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (sign == 'w') {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawRect(3, 5, 18, 14);
        p.setPen(QPen(QColor(0, 90, 170), 2));
        for (int dx : {0, 1})
            for (int dy : {0, 1}) {
                const int x = dx ? 18 : 6, y = dy ? 16 : 8, sx = dx ? -3 : 3, sy = dy ? -3 : 3;
                p.drawLine(x, y, x + sx, y);
                p.drawLine(x, y, x, y + sy);
            }
        return QIcon(pm);
    }
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    p.drawLine(15, 15, 21, 21);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(220, 235, 250));
    p.drawEllipse(QPointF(10, 10), 7, 7);
    p.setPen(QPen(QColor(0, 90, 170), 2));
    p.drawLine(6, 10, 14, 10);
    if (sign == '+') p.drawLine(10, 6, 10, 14);
    return QIcon(pm);
}

QRect ToRect(const PixelRect& r) { return QRect(r.x, r.y, r.w, r.h); }

}  // namespace

Form1::Form1(EditorDeps deps, QWidget* parent)
    : QMainWindow(parent),
      deps_(std::move(deps)),
      services_{*deps_.messages, *deps_.files, *deps_.processes, *deps_.help} {
    session_.ps.AppPath = deps_.appPath;
    session_.engineProgram = deps_.engineProgram;
    session_.programDir = deps_.programDir;
    project_ = std::make_unique<ProjectCommands>(session_, services_, *this);
    run_ = std::make_unique<RunCommands>(session_, services_, *this, *project_);
    twips_ = ScreenTwips(this);
    setWindowIcon(AppIcon(KovaApp()));
    setFont(FormFont("ＭＳ Ｐゴシック", 9));
    setWindowTitle(Q(CaptionFor(kUntitled)));
    BuildCommands();
    BuildBody();
    auto* bar = statusBar();
    bar->setObjectName("stv_gm");
    panel1_ = new QLabel(bar);
    panel2_ = new QLabel(bar);
    bar->addWidget(panel1_, 3);
    bar->addWidget(panel2_, 2);

    if (!deps_.openToolForm) deps_.openToolForm = [](Form1& f, int i) { OpenToolForm(f, i); };
    if (!deps_.showConditions) deps_.showConditions = [](Form1& f) { return ShowCalcConditions(f); };
    canvasTools_ = &AttachCanvasTools(*this);
}

Form1::~Form1() = default;

void Form1::BuildCommands() {
    QStyle* st = style();
    auto icon = [st](QStyle::StandardPixmap p) { return st->standardIcon(p); };
    std::vector<CommandRow> input;
    for (int i = 0; i < static_cast<int>(kInputMenuCaptions.size()); ++i)
        input.push_back({"inp_menu" + std::to_string(i), kInputMenuCaptions[static_cast<std::size_t>(i)],
                         [this, i] { SelectInputMenu(i); }});
    const std::vector<MenuRows> menus{
        FileMenu(*st,
                 {[this] { NewProject(); }, [this] { OpenProject(); }, [this] { SaveProject(); },
                  [this] { SaveProjectAs(); }, [this] { PrintReports(); }, [this] { close(); }},
                 {{"dxf_open", "DXFファイルを開く", [this] { OpenDxf(); }}}),
        {"mnu_dsp",
         "表示",
         {{"a_dsp", "全体", [this] { ShowWholeView(); }, 8, "全表示", ViewIcon('w')},
          {"b_dsp", "拡大", [this] { ZoomIn(); }, 9, "拡大", ViewIcon('+'), true},
          {"s_dsp", "縮小", [this] { ZoomOut(); }, 10, "縮小", ViewIcon('-'), true},
          {"s4"},
          {.name = "t_dsp", .caption = "沈下後の地表面", .run = [this] { ToggleSettledSurface(); }, .checked = true}}},
        {"mnu_inp", "データ入力", input},
        {"mnu_cal", "計算", {{"cal_tnk", "沈下計算", [this] { Calculate(); }, 5, "計算", icon(QStyle::SP_MediaPlay)}}},
        {"mnu_hlp",
         "ヘルプ",
         {{"help", "Kovadexのヘルプ", [this] { ShowHelpFile(); }, 12, "ヘルプ", icon(QStyle::SP_DialogHelpButton)},
          {"s5"},
          {"ver", "ﾊﾞｰｼﾞｮﾝ情報(&A)", [this] { ShowVersion(); }}}},
    };
    actions_ = std::make_unique<CommandTable>(*this, menus, std::vector<int>{4, 7, 11});
    recent_ = new RecentFileMenu(findChild<QMenu*>(QStringLiteral("mnu_file")), MenuAction("s3"),
                                 RecentFileList(*deps_.settings, KovaApp().storeApp), this);
    connect(recent_, &RecentFileMenu::Chosen, this, [this](int i) { OpenRecentFile(i); });
}

void Form1::BuildBody() {
    body_ = new QWidget(this);
    setCentralWidget(body_);
    body_->installEventFilter(this);

    strip_ = new QWidget(body_);
    strip_->setObjectName("frm_menu");
    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    QStyle* st = style();
    const QStyle::StandardPixmap icons[] = {QStyle::SP_FileDialogInfoView, QStyle::SP_DialogYesButton,
                                            QStyle::SP_ArrowRight,        QStyle::SP_DirIcon,
                                            QStyle::SP_ArrowDown,         QStyle::SP_TrashIcon,
                                            QStyle::SP_FileDialogListView, QStyle::SP_DialogNoButton,
                                            QStyle::SP_DriveHDIcon};
    for (const ToolOption& o : kToolOptions) {
        auto* b = new QToolButton(strip_);
        b->setObjectName(QStringLiteral("opt_menu%1").arg(o.index));
        b->setText(QString::fromUtf8(o.caption));
        b->setIcon(st->standardIcon(icons[o.index]));
        b->setIconSize(QSize(14, 14));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setCheckable(true);
        b->setGeometry(TwipsRect(twips_, o.left, 0, kToolOptionWidth, kToolOptionHeight));
        b->setVisible(o.index < kNoToolOption);
        optionGroup_->addButton(b, o.index);
        options_[static_cast<std::size_t>(o.index)] = b;
    }
    // Only an option that becomes selected runs its handler, as with option
    // buttons: a click on the option already down changes nothing (an
    // exclusive group reports clicked(true) for it too).
    connect(optionGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !quietOptions_) SelectToolOption(id);
    });

    canvas_ = new SectionCanvas(body_);
    canvas_->setObjectName("pic_gm");
    canvas_->Bind(session_.model.get(), session_.es.get());
    vsb_ = new QScrollBar(Qt::Vertical, body_);
    vsb_->setObjectName("vsb_gm");
    hsb_ = new QScrollBar(Qt::Horizontal, body_);
    hsb_->setObjectName("hsb_gm");
    for (QScrollBar* b : {hsb_, vsb_}) {
        b->setRange(-100, 100);
        b->setValue(0);
    }
    connect(hsb_, &QScrollBar::valueChanged, this, [this](int v) { OnScroll(ScrollBar::Horizontal, v); });
    connect(vsb_, &QScrollBar::valueChanged, this, [this](int v) { OnScroll(ScrollBar::Vertical, v); });
}

bool Form1::eventFilter(QObject* watched, QEvent* e) {
    if (watched == body_ && e->type() == QEvent::Resize) LayoutBody();
    return QMainWindow::eventFilter(watched, e);
}

void Form1::LayoutBody() {
    QSize outer = frameGeometry().size();
    if (!LayoutApplies(outer.width(), outer.height(), twips_)) return;
    BodyLayout l = ComputeBodyLayout(body_->width(), body_->height(), twips_);
    strip_->setGeometry(ToRect(l.strip));
    canvas_->setGeometry(ToRect(l.canvas));
    vsb_->setGeometry(ToRect(l.vsb));
    hsb_->setGeometry(ToRect(l.hsb));
    State().CanvasWidth = l.canvasWidthTwips;
    State().CanvasHeight = l.canvasHeightTwips;
}

bool Form1::Load() {
    lock_ = std::make_unique<InstanceLock>(deps_.lockFile);
    if (lock_->Acquire() == LockResult::HeldElsewhere) {
        refused_ = true;
        deps_.messages->Show(Message{"このアプリケーションは既に起動しています。", "ロードエラー", MsgIcon::Critical,
                                MsgButtons::Ok, 0});
        return false;
    }
    ProgramState& ps = session_.ps;
    ps.CmdLine = TrimCommandLine(deps_.cmdLine);
    ps.AppPath = deps_.appPath;
    ps.VersionText = ReadVersionText(ps.AppPath);
    if (deps_.splash) {
        SplashScreen splash(KovaApp(), ps.VersionText);
        splash.ShowNow();
        splash.close();
    }
    resize(800, 600);
    EditorState& v = State();
    v.CanvasWidth = 11475;
    v.CanvasHeight = 6615;
    recent_->Refresh();
    SelectToolOption(kNoToolOption);
    ResetModel(SectionModel(), ps.AppPath, *deps_.messages);
    WriteCondFile(SectionModel(), ps, kSnapOrg, 1, *deps_.messages);
    FitView(SectionModel(), v);
    ResetScrollBars();
    ResetTool(ToolReset::kProjectChanged);
    project_->DeleteStaleResults(false);
    session_.currentFileName = kUntitled;
    ps.CurFileName = kUntitled;
    SetCaption(CaptionFor(kUntitled));
    options_[kSheetPileOption]->setVisible(IsSheetPileSwitch(ps.CmdLine));
    loaded_ = true;
    LayoutBody();
    return true;
}

void Form1::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (sized_) return;
    sized_ = true;
    outerPending_ = true;
    FitOuterSize();
}

void Form1::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    // A window manager that frames the window only once it is mapped (X11)
    // makes the frame known with the first move after showing.
    FitOuterSize();
}

void Form1::FitOuterSize() {
    // 800 x 600 is the outer size, frame included: taken as the inner size,
    // the window stood 25 pixels taller and its status bar ended below the
    // 600 pixels it was given. A size the user chose is kept.
    if (!outerPending_) return;
    if (size() != QSize(800, 600)) {
        outerPending_ = false;
        return;
    }
    const QSize frame = frameGeometry().size() - size();
    if (frame.width() <= 0 && frame.height() <= 0) return;
    outerPending_ = false;
    resize(QSize(800, 600) - frame);
}

void Form1::closeEvent(QCloseEvent* e) {
    // The refused instance and a window never loaded close without a word.
    if (refused_ || !loaded_) {
        e->accept();
        return;
    }
    // The engine or the viewer still runs: its results or reports would be
    // left to nobody.
    if (busy_) {
        e->ignore();
        return;
    }
    if (project_->QueryClose()) {
        CloseToolPalettes();
        e->accept();
    } else {
        e->ignore();
    }
}

void Form1::OpenRecentFile(int index) { project_->OpenRecent(recent_->Path(index)); }

void Form1::ShowHelpFile() { ShowHelp(*deps_.help, *deps_.messages, session_.ps.AppPath, kHelpFile); }

void Form1::ShowVersion() { ShowAbout(KovaApp(), session_.ps.VersionText, this); }

void Form1::ToggleSettledSurface() {
    // The action's own check already flipped; the canvas follows it at once.
    Refresh();
}

bool Form1::ShowsSettlement() const { return session_.resultsReady && MenuAction("t_dsp")->isChecked(); }

void Form1::SelectToolOption(int index) {
    if (index < 0 || index >= kToolOptionCount) return;
    // The sheet-pile walls are reachable only with the switch.
    if (index == kSheetPileOption && !IsSheetPileSwitch(session_.ps.CmdLine)) return;
    ShowOptionDown(options_[static_cast<std::size_t>(index)]);
    CloseToolPalettes();
    SetCursor(CanvasCursor::Arrow);
    SetToolbarButtonPressed(kToolWholeView, false);
    ResetTool(ToolReset::kCanvasTaken);
    if (index != kNoToolOption && deps_.openToolForm) deps_.openToolForm(*this, index);
}

void Form1::SelectInputMenu(int entry) {
    if (entry < 0 || entry >= static_cast<int>(kInputMenuCaptions.size())) return;
    const int index = InputMenuOption(entry);
    // The option buttons keep showing what they showed.
    QAbstractButton* was = optionGroup_->checkedButton();
    SelectToolOption(index);
    // Unless the form it opened chose another option meanwhile (a dialog
    // selecting the no-tool option as it closes): that one stays down, and
    // the palette of the earlier one is closed.
    if (was && optionGroup_->checkedButton() == options_[static_cast<std::size_t>(index)]) ShowOptionDown(was);
}

void Form1::ShowOptionDown(QAbstractButton* b) {
    if (!b || b->isChecked()) return;
    quietOptions_ = true;
    b->setChecked(true);
    quietOptions_ = false;
}

void Form1::SwitchTool(int mode) { kova::SwitchTool(State(), *this, mode, this); }
void Form1::DropPicks(int mode) { DropToolPicks(State(), *this, mode); }
void Form1::ResetTool(ToolReset why) { kova::ResetTool(State(), *this, why); }

void Form1::DrawSegment(int x1, int y1, int x2, int y2, int colour) { canvas_->DrawSegment(x1, y1, x2, y2, colour); }

void Form1::FillPolygon(const ScreenPoint* pts, int n, int colour) { canvas_->FillPolygon(pts, n, colour); }

void Form1::Refresh() {
    // At once, not queued: the scroll handlers change cmd_mode only for the
    // duration of this repaint.
    canvas_->SetShowSettled(MenuAction("t_dsp")->isChecked());
    canvas_->SetResultsRead(session_.resultsReady);
    canvas_->pic_gm_Paint();
}

int Form1::SetScrollValue(ScrollBar bar, int value) {
    QScrollBar* b = bar == ScrollBar::Horizontal ? hsb_ : vsb_;
    b->setValue(value);
    return b->value();
}

void Form1::OnScroll(ScrollBar bar, int value) {
    if (bar == ScrollBar::Horizontal)
        hsb_gm_Change(State(), *this, value);
    else
        vsb_gm_Change(State(), *this, value);
}

void Form1::ShowWholeView() { kova::ShowWholeView(SectionModel(), State(), *this); }
void Form1::ZoomIn() { SetZoomInMode(State(), *this); }
void Form1::ZoomOut() { SetZoomOutMode(State(), *this); }

void Form1::SetCursor(CanvasCursor cursor) {
    canvas_->SetCanvasCursor(cursor);
}

void Form1::SetToolbarButtonPressed(int button, bool pressed) {
    if (QAction* a = ToolbarButton(button); a && a->isCheckable()) a->setChecked(pressed);
}

QAction* Form1::MenuAction(const std::string& name) const { return actions_->MenuAction(name); }

QAction* Form1::ToolbarButton(int index) const { return actions_->Button(index); }

std::string Form1::StatusText(int panel) const { return U((panel == 1 ? panel1_ : panel2_)->text()); }

TwipsPoint Form1::WindowOrigin() {
    QPoint p = frameGeometry().topLeft();
    return {ClampToInt(twips_.ToTwipsX(p.x()), -2000000000, 2000000000),
            ClampToInt(twips_.ToTwipsY(p.y()), -2000000000, 2000000000)};
}

// CommandHost.

void Form1::SetCaption(const std::string& caption) { setWindowTitle(Q(caption)); }

void Form1::ResetScrollBars() {
    // The stored positions first: the change then pans nothing.
    State().HScrollPos = 0;
    State().VScrollPos = 0;
    SetScrollValue(ScrollBar::Horizontal, 0);
    SetScrollValue(ScrollBar::Vertical, 0);
}

void Form1::SetStatusText(int panel, const std::string& text) {
    (panel == 1 ? panel1_ : panel2_)->setText(Q(text));
}

void Form1::AddRecentFile(const std::string& path) { recent_->Update(path); }

void Form1::SetBusy(bool busy) {
    busy_ = busy;
    setEnabled(!busy);
    if (!busy) activateWindow();
}

void Form1::SetWaitCursor(bool on) {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

RunningNotice* Form1::EngineNotice() {
    if (!runningBox_) runningBox_ = new RunningBox(this);
    return runningBox_;
}

bool Form1::ShowConditionsDialog() {
    return !deps_.showConditions || deps_.showConditions(*this);
}

}  // namespace kova
