#include "predict/window/f2.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "textio/cell_text.hpp"
#include "dialogs/grid/number_box.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/hyperbolic.hpp"
#include "predict/commands/calc_run.hpp"
#include "predict/commands/graphs.hpp"
#include "predict/window/obs_grid.hpp"
#include "rules/limits.hpp"
#include "shell/about.hpp"
#include "shell/app_identity.hpp"
#include "shell/command_table.hpp"
#include "shell/recent_menu.hpp"

namespace kova::predict {
namespace {

constexpr const char* kGridHelp = "観測データ入力＞yyyy/mm/ddの形式で年月日を入力。SW=1で無効データ扱いとなります。";
// Without a station the grid takes nothing: the user is told where one
// comes from instead of being asked for a date.
constexpr const char* kNoStationHelp = "観測データ入力＞先に「観測場所」で観測所を登録してください。";
constexpr const char* kNoStationText = "観測所が登録されていません。「観測場所」で観測所を登録してください。";
constexpr const char* kNoStationShownText = "観測所が選択されていません。観測所切り換えボタンで観測所を選択してください。";
constexpr const char* kTxtNHelp =
    "時間軸最大値＞観測初日からの経過日数で指定してください。（年月表記の場合も経過日数で指定）";
// The result value boxes (twips, inside Fra1).
constexpr int kValueLeft = 1260, kValueWidth = 2295;
// The grid's design place (twips); its height follows the window.
constexpr int kGridLeft = 60, kGridTop = 690, kGridWidth = 4600;
// The window's own area below which the layout stops following it.
constexpr int kMinLayoutHeight = 2500, kMinLayoutWidth = 5000;
// What the window's height keeps free besides the grid and the two graphs
// (toolbar, station buttons, captions, status bar), what its width keeps
// free besides the grid and P1, and the gap between P1 and P2.
constexpr int kGridFreeHeight = 2385, kGraphsFreeHeight = 2415, kGraphsFreeWidth = 4845, kGraphGap = 15;

struct TwipsBox {
    int left, top, width, height;
};

// A box the graph keeps its labels off, placed over P1.
TwipsBox OverGraph(const GraphArea& a, const LabelBox& b) {
    return TwipsBox{a.p1Left + static_cast<int>(b.left), a.p1Top + static_cast<int>(b.top),
                    static_cast<int>(b.right - b.left), static_cast<int>(b.bottom - b.top)};
}

// Each control that follows the window size, by its object name, with the
// rule that places it in the graph area.
struct LayoutRow {
    const char* control;
    TwipsBox (*rule)(const GraphArea&);
};
constexpr LayoutRow kLayout[] = {
    {"P1", [](const GraphArea& a) { return TwipsBox{a.p1Left, a.p1Top, a.p1Width, a.p1Height}; }},
    {"P2", [](const GraphArea& a) { return TwipsBox{a.p1Left, a.p2Top, a.p2Width, a.p1Height}; }},
    // The time-axis maximum in P1's top right corner, the scale factor in
    // its bottom left one.
    {"txt_n", [](const GraphArea& a) { return OverGraph(a, MaxDaysBox(a.p1Width, a.p1Height)); }},
    {"txt_t", [](const GraphArea& a) { return OverGraph(a, MaxSettlementBox(a.p1Width, a.p1Height)); }},
    {"Label2", [](const GraphArea& a) { return TwipsBox{a.p1Left, 360, a.p1Width, 300}; }},
    // The result panel beside P2.
    {"Fra1_0", [](const GraphArea& a) { return TwipsBox{a.p1Left + a.p2Width + 75, a.p2Top, 3760, 3350}; }},
};
static_assert(std::size(kLayout) == kLayoutRows);

// The fit-range row, the observation spinner and the options command of
// the result panel (twips, inside Fra1); they keep their place.
struct PanelRow {
    const char* control;
    TwipsBox box;
};
constexpr PanelRow kPanel[] = {
    {"Lbl_0", {120, 150, 400, 300}},    {"TS", {480, 120, 700, 330}},   {"Command1", {1200, 120, 420, 330}},
    {"Lbl_1", {1800, 150, 400, 300}},   {"TE", {2200, 120, 700, 330}},  {"Command2", {2920, 120, 420, 330}},
    {"UpDown1", {120, 480, 840, 330}},  {"UpDown1_left", {960, 480, 330, 330}},
    {"UpDown1_right", {1290, 480, 330, 330}}, {"cmd_op", {240, 1440, 3315, 450}},
};

// The graph area for a window's own area of w x h twips, with the grid
// `shift` twips wider than designed; the area before when the window is
// too small to follow.
GraphArea FollowSize(GraphArea a, int w, int h, int shift) {
    a.p1Left = GraphArea{}.p1Left + shift;
    if (h >= kMinLayoutHeight && w >= kMinLayoutWidth) {
        a.gridHeight = h - kGridFreeHeight;
        a.p1Height = (h - kGraphsFreeHeight - kGraphGap) / 2;
        a.p2Top = a.p1Top + a.p1Height + kGraphGap;
        a.p1Width = w - kGraphsFreeWidth - shift;
        a.p2Width = a.p1Height;
    }
    return a;
}

constexpr const char* kStationButtonHelp = "観測所切り換えボタン＞観測データ入力/グラフ確認を行う観測所を選択";

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(Q(text), parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

f2::f2(PredictServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)),
      data_(std::make_unique<ObsDataSet>()),
      commands_(*data_, TlmCommandServices{services_.messages, services_.files, services_.processes, services_.appPath},
                *this) {
    setObjectName(QStringLiteral("f2"));
    setWindowTitle(Q(WindowTitleFor(kUntitled)));
    setFont(FormFont("ＭＳ Ｐゴシック", 9));
    BuildCommands();
    BuildClient();
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stv_gm"));
    panel1_ = new QLabel(QStringLiteral("  "), bar);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    bar->addWidget(panel1_, 1);
    setStatusBar(bar);
    recent_ = std::make_unique<RecentFileMenu>(findChild<QMenu*>(QStringLiteral("mnu_file")), MenuAction("s3"),
                                               RecentFileList(*services_.settings, TolmApp().storeApp));
    connect(recent_.get(), &RecentFileMenu::Chosen, this, [this](int i) { mnuRecentFile_Click(i); });
}

f2::~f2() = default;

QAction* f2::MenuAction(const char* name) const { return actions_->MenuAction(name); }

void f2::BuildCommands() {
    auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    const std::vector<MenuRows> menus{
        FileMenu(*style(), {[this] { new_Click(); }, [this] { open_Click(); }, [this] { save_Click(); },
                            [this] { add_save_Click(); }, [this] { printout_Click(); }, [this] { end_Click(); }}),
        {"mnu_inp",
         "データ入力",
         {{"inp_menu_0", "観測位置", [this] { inp_menu_Click(0); }},
          {"inp_menu_1", "グラフオプション", [this] { inp_menu_Click(1); }}}},
        {"mnu_cal",
         "予測計算",
         {{"cal_tnk", "計算実行", [this] { cal_tnk_Click(); }, 5, "計算", icon(QStyle::SP_MediaPlay)}}},
        {"mnu_hlp",
         "ヘルプ",
         {{"help", "Tolmadex", [this] { help_Click(); }, 12, "ヘルプ", icon(QStyle::SP_DialogHelpButton)},
          {"s4"},
          {"ver", "ﾊﾞｰｼﾞｮﾝ情報(&A)", [this] { ver_Click(); }}}},
    };
    // Buttons 8 to 10 (全表示, 拡大, 縮小) start nothing and are left out.
    actions_ = std::make_unique<CommandTable>(*this, menus, std::vector<int>{4, 11});
    actions_->Toolbar()->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void f2::Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsRect(ScreenTwips(this), left, top, width, height));
}

void f2::BuildClient() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);

    // Station buttons "1".."20" under the toolbar, "観測場所" after them;
    // the twenty-first, "観測所登録", is never shown.
    for (int i = 0; i <= kMaxStations; ++i) {
        auto* b = new QToolButton(client_);
        b->setObjectName(QStringLiteral("Opt_p_%1").arg(i));
        b->setText(i < kMaxStations ? QString::number(i + 1) : Q("観測所登録"));
        b->setCheckable(true);
        b->setAutoExclusive(false);
        b->installEventFilter(this);
        if (i < kMaxStations) {
            Place(b, 60 + i * 330, 30, 330, 300);
            connect(b, &QToolButton::clicked, this, [this, i, b](bool checked) {
                if (!checked) {
                    b->setChecked(true);  // an option stays selected when clicked again
                    return;
                }
                Opt_p_Click(i);
            });
        } else {
            b->hide();
        }
        optP_[static_cast<std::size_t>(i)] = b;
    }
    cmdKs_ = new QPushButton(Q("観測場所"), client_);
    cmdKs_->setObjectName(QStringLiteral("cmd_ks"));
    Place(cmdKs_, 60 + kMaxStations * 330 + 60, 30, 1100, 300);
    connect(cmdKs_, &QPushButton::clicked, this, [this] { cmd_ks_Click(); });

    label1_ = MakeLabel(client_, "Label1", "");
    label1_->setFont(FormFont("ＭＳ Ｐゴシック", 11, true));
    Place(label1_, kGridLeft, 360, kGridWidth, 300);
    label2_ = MakeLabel(client_, "Label2", "");
    label2_->setFont(FormFont("ＭＳ Ｐゴシック", 11, true));
    Place(label2_, area_.p1Left, 360, area_.p1Width, 300);

    grid_ = new ObservationGrid(client_);
    grid_->SetReadOnly(true);
    grid_->SetMessages(services_.messages);
    grid_->SetFullMessage(kTooManyReadingsText);
    grid_->SetUpEmpty();
    grid_->installEventFilter(this);
    connect(grid_, &ObservationGrid::CellEdited, this, [this] { QEXFLG_CellEdited(); });

    // The graph boxes; the graphs draw into them.
    auto graphBox = [this](const char* name) {
        auto* f = new QFrame(client_);
        f->setObjectName(QLatin1String(name));
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
        QPalette pal = f->palette();
        pal.setColor(QPalette::Window, Qt::white);
        f->setPalette(pal);
        f->setMouseTracking(true);
        return f;
    };
    p1_ = graphBox("P1");
    p2_ = graphBox("P2");

    txtN_ = new QLineEdit(QStringLiteral("500"), client_);
    txtN_->setObjectName(QStringLiteral("txt_n"));
    txtN_->installEventFilter(this);
    connect(txtN_, &QLineEdit::textChanged, this, [this] {
        RepaintTimeGraph();
        SetPanel1(Q(kTxtNHelp));
    });
    txtT_ = new QLineEdit(QStringLiteral("1.2"), client_);
    txtT_->setObjectName(QStringLiteral("txt_t"));
    connect(txtT_, &QLineEdit::textChanged, this, [this] { RepaintTimeGraph(); });
    checkN_ = new grid::NumberBox(txtN_, QStringLiteral("時間軸最大値"), "", services_.messages);
    checkT_ = new grid::NumberBox(txtT_, QStringLiteral("沈下量軸最大値"), "", services_.messages);

    // The panel beside the regression graph: fit range, observation
    // spinner, graph commands and results.
    fra1_ = new QFrame(client_);
    fra1_->setObjectName(QStringLiteral("Fra1_0"));
    fra1_->setFrameShape(QFrame::Box);
    fra1_->setMouseTracking(true);
    fra1_->installEventFilter(this);
    auto inFrame = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(TwipsRect(ScreenTwips(this), left, top, width, height));
    };
    lbl_[0] = MakeLabel(fra1_, "Lbl_0", "Sa");
    ts_ = new QLineEdit(QStringLiteral("0"), fra1_);
    ts_->setObjectName(QStringLiteral("TS"));
    command1_ = new QPushButton(Q("→"), fra1_);
    command1_->setObjectName(QStringLiteral("Command1"));
    lbl_[1] = MakeLabel(fra1_, "Lbl_1", "Sa'");
    te_ = new QLineEdit(QStringLiteral("0"), fra1_);
    te_->setObjectName(QStringLiteral("TE"));
    command2_ = new QPushButton(Q("→"), fra1_);
    command2_->setObjectName(QStringLiteral("Command2"));
    upDown1_ = new QSpinBox(fra1_);
    upDown1_->setObjectName(QStringLiteral("UpDown1"));
    // A left/right spinner, as its help text says: the number with a left
    // (previous) and a right (next) arrow after it.
    upDown1_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    upDown1_->setAlignment(Qt::AlignRight);
    upDown1_->installEventFilter(this);
    for (int i = 0; i < 2; ++i) {
        auto* arrow = new QToolButton(fra1_);
        arrow->setObjectName(i == 0 ? QStringLiteral("UpDown1_left") : QStringLiteral("UpDown1_right"));
        arrow->setArrowType(i == 0 ? Qt::LeftArrow : Qt::RightArrow);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->installEventFilter(this);
        connect(arrow, &QToolButton::clicked, this, [this, i] { i == 0 ? upDown1_->stepDown() : upDown1_->stepUp(); });
        upDownArrows_[static_cast<std::size_t>(i)] = arrow;
    }
    SetUpDown(1, 2, 1, false);  // as after New
    cmdOp_ = new QPushButton(Q("グラフ表示オプション"), fra1_);
    cmdOp_->setObjectName(QStringLiteral("cmd_op"));
    cmdOp_->installEventFilter(this);
    for (const PanelRow& r : kPanel)
        inFrame(fra1_->findChild<QWidget*>(QLatin1String(r.control), Qt::FindDirectChildrenOnly), r.box.left,
                r.box.top, r.box.width, r.box.height);
    for (QWidget* w : {static_cast<QWidget*>(command1_), static_cast<QWidget*>(command2_)}) {
        w->installEventFilter(this);
        w->setMouseTracking(true);
    }
    connect(ts_, &QLineEdit::textChanged, this, [this] { TS_Change(); });
    connect(te_, &QLineEdit::textChanged, this, [this] { TE_Change(); });
    // Leaving a box refuses text that is no number and a row number the
    // observation file could not hold (it gets back the station's value),
    // and shows the value in the box's "0" format, which rounds halves away
    // from zero; the change handler stores what it shows.
    auto rangeShown = [](std::string_view text) {
        return RangeValue(text) ? grid::FormatNumber(CellValue(text), "0") : std::string(text);
    };
    auto rangeValue = [](std::string_view text) -> std::optional<double> {
        if (auto v = RangeValue(text)) return *v;
        return std::nullopt;
    };
    const Limit& fitRow = LimitOf(Item::ObsFitRow);
    checkS_ = new grid::NumberBox(ts_, QStringLiteral("Sa"), rangeShown, services_.messages);
    checkE_ = new grid::NumberBox(te_, QStringLiteral("Sa'"), rangeShown, services_.messages);
    for (grid::NumberBox* b : {checkS_, checkE_})
        b->SetRange(rangeValue, fitRow.lo, fitRow.hi, Q(LimitRangeText(Item::ObsFitRow)));
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdOp_, &QPushButton::clicked, this, [this] { cmd_op_Click(); });
    connect(upDown1_, &QSpinBox::valueChanged, this, [this] { RepaintTimeGraph(); });

    struct Row {
        int label;
        const char* caption;
        const char* captionName;
        const char* unit;
        const char* unitName;
        int y;
    };
    static const Row kRows[] = {{4, "最終沈下量", "Label10", "m", "Label13", 2040},
                                {3, "α", "Label6", "日/m", "Label15", 2340},
                                {2, "β", "Label7", "1/m", "Label14", 2640},
                                {7, "直線回帰率", "Label11", "", "Label16", 2940}};
    for (const Row& r : kRows) {
        QLabel* cap = MakeLabel(fra1_, r.captionName, r.caption);
        inFrame(cap, 120, r.y + 30, 1100, 300);
        QLabel* value = MakeLabel(fra1_, "", " ");
        value->setObjectName(QStringLiteral("Lbl_%1").arg(r.label));
        value->setFont(FormFont("ＭＳ ゴシック", 12));
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        inFrame(value, kValueLeft, r.y, kValueWidth, 315);
        lbl_[static_cast<std::size_t>(r.label)] = value;
        if (*r.unit) {
            // The unit sits in the empty right end of its value box: the
            // 13 value characters end well before it, and a unit beside the
            // box would push the panel out of an 800-pixel window.
            QLabel* unit = MakeLabel(fra1_, r.unitName, r.unit);
            unit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            const QRect box = value->geometry();
            const int margin = value->frameWidth() + 2;
            const int w = unit->fontMetrics().horizontalAdvance(unit->text()) + 2;
            unit->setGeometry(box.right() - margin - w + 1, box.y() + margin, w, box.height() - 2 * margin);
            unit->raise();
        }
    }
    for (std::size_t i = 0; i < kLayoutRows; ++i)
        layoutControls_[i] = client_->findChild<QWidget*>(QLatin1String(kLayout[i].control), Qt::FindDirectChildrenOnly);
    Form_Resize();
}

void f2::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void f2::Form_Resize() {
    if (!client_ || !layoutControls_.back()) return;
    const TwipsScale s = ScreenTwips(this);
    // The window's own area, inside whatever frame the window manager adds:
    // the frame is unknown before the window is first shown and changes
    // with maximising, so a layout taken from it grew after New or a
    // restore and pushed the panel out at the right.
    const int H = static_cast<int>(s.ToTwipsY(height()));
    const int W = static_cast<int>(s.ToTwipsX(width()));
    // The grid may be a little wider than designed where the font needs
    // it; the graphs start beside it whatever its width.
    const int shift = static_cast<int>(s.ToTwipsX(grid_->width())) - kGridWidth;
    area_ = FollowSize(area_, W, H, shift);
    grid_->move(s.ToPixelsX(kGridLeft), s.ToPixelsY(kGridTop));
    grid_->setFixedHeight(s.ToPixelsY(area_.gridHeight));
    for (std::size_t i = 0; i < kLayoutRows; ++i) {
        const TwipsBox b = kLayout[i].rule(area_);
        Place(layoutControls_[i], b.left, b.top, b.width, b.height);
    }
    txtN_->raise();
    txtT_->raise();
    RepaintGraphs();
}

// ---- start-up and file commands ------------------------------------------------

void f2::ResetWindowForNewData() {
    filling_ = true;
    checkT_->SetStored(QStringLiteral("1.2"));
    checkN_->SetStored(QStringLiteral("500"));
    label1_->setText(QString());
    for (int i : {2, 3, 4, 7}) lbl_[static_cast<std::size_t>(i)]->setText(QStringLiteral(" "));
    checkS_->SetStored(QStringLiteral("0"));
    checkE_->SetStored(QStringLiteral("0"));
    filling_ = false;
}

void f2::Form_Load() {
    resize(800, 600);
    if (QScreen* sc = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect g = sc->geometry();
        move(g.x() + (g.width() - frameGeometry().width()) / 2, g.y() + (g.height() - frameGeometry().height()) / 2);
    }
    recent_->Refresh();
    commands_.Start();
    label2_->setText(Q(data_->JobTitle));
    InitObservationGrid();
    EnableStationButtons();
}

void f2::SetCaption(const std::string& fileName) { setWindowTitle(Q(WindowTitleFor(fileName))); }

void f2::ResetForNewData() {
    curStation_ = 0;
    ResetWindowForNewData();
}

void f2::ShowNewData() {
    label2_->setText(Q(data_->JobTitle));
    InitObservationGrid();
    EnableStationButtons();
    UncheckStationButtons();
    SetUpDown(1, 2, 1, false);
    RepaintGraphs();
}

void f2::ShowLoadedData() {
    label2_->setText(Q(data_->JobTitle));
    EnableStationButtons();
    UncheckStationButtons();
    if (data_->StationCount > 0) {
        optP_[0]->setChecked(true);
        Opt_p_Click(0);
    } else {
        ShowEmptyStation();
    }
}

void f2::AddRecentFile(const std::string& path) { recent_->Update(path); }

std::optional<std::filesystem::path> f2::RecentFile(int index) {
    if (!recent_ || index < 1 || index > kRecentMenuItems) return std::nullopt;
    return recent_->Path(index);
}

void f2::end_Click() { close(); }

void f2::help_Click() { ShowHelp(*services_.help, *services_.messages, services_.appPath, kHelpFile); }

void f2::ver_Click() { ShowAbout(TolmApp(), services_.versionText, this); }

void f2::inp_menu_Click(int index) {
    if (index == 0) {
        CommitGridEdit();
        // Selecting the hidden "観測所登録" option opens the station list.
        optP_[kMaxStations]->setChecked(true);
        Opt_p_Click(kMaxStations);
    } else if (index == 1) {
        cmd_op_Click();
    }
}

void f2::closeEvent(QCloseEvent* e) {
    if (!commands_.QueryClose()) {
        e->ignore();
        return;
    }
    e->accept();
    Form_Unload();
}

void f2::Form_Unload() { recent_->Refresh(); }

// ---- the calculation run --------------------------------------------------------

bool f2::CopyScreenToCurrentStation() {
    if (!StationShown()) return true;
    int badRow = 0;
    if (!CopyScreenIntoStation(ShownGrid(), U(ts_->text()), U(te_->text()), data_->Stations[curStation_],
                               *services_.messages, &badRow)) {
        if (badRow > 0) grid_->SetCurrentCell(badRow, kColDate);
        return false;
    }
    return true;
}

void f2::cal_tnk_Click() {
    CommitGridEdit();
    if (data_->StationCount < 1) return;
    if (!CopyScreenToCurrentStation()) return;
    const RunOutcome run = RunCalculation(*data_, services_.appPath, *services_.messages, print::StampNow());
    commands_.SetPrintable(run.Printable());
    ShowResults();
    RepaintGraphs();
}

void f2::ShowResults() {
    if (!StationShown()) return;
    const StationRecord& s = data_->Stations[curStation_];
    lbl_[2]->setText(Q(ResultLabel(s.Slope, 4)));
    lbl_[3]->setText(Q(ResultLabel(s.Intercept, 4)));
    lbl_[4]->setText(Q(ResultLabel(s.FinalSettlement, 3, true)));
    lbl_[7]->setText(Q(ResultLabel(s.R2, 4)));
}

void f2::RepaintTimeGraph() {
    if (repaintTimeGraph) repaintTimeGraph();
    else if (p1_) p1_->update();
}

void f2::RepaintGraphs() {
    RepaintTimeGraph();
    if (repaintRegressionGraph) repaintRegressionGraph();
    else if (p2_) p2_->update();
}

// ---- grid and station controls --------------------------------------------------

GridTexts f2::ShownGrid() const { return grid_->Texts(); }

void f2::InitObservationGrid() {
    grid_->SetUpEmpty();
    grid_->SetReadOnly(!StationShown());
    Form_Resize();
}

void f2::EnableStationButtons() {
    for (int i = 0; i < kMaxStations; ++i) optP_[static_cast<std::size_t>(i)]->setEnabled(i < data_->StationCount);
}

void f2::UncheckStationButtons() {
    for (QToolButton* b : optP_) b->setChecked(false);
}

void f2::O1_Click(int k) {
    curStation_ = k;
    const StationRecord& s = data_->Stations[k];
    grid_->ShowStation(s);
    grid_->SetReadOnly(!StationShown());
    checkS_->SetStored(QString::number(s.Sa));
    checkE_->SetStored(QString::number(s.SaPrime));
}

void f2::Opt_p_Click(int index) {
    CommitGridEdit();
    if (index == kMaxStations) {
        cmd_ks_Click();
        optP_[kMaxStations]->setChecked(false);
        return;
    }
    if (index < 0 || index >= kMaxStations) return;
    const int k = index + 1;
    for (int i = 0; i < kMaxStations; ++i) optP_[static_cast<std::size_t>(i)]->setChecked(i == index);
    label1_->setText(Q(data_->Stations[k].Name));
    O1_Click(k);
    ShowResults();
    const int count = data_->Stations[k].Count;
    // With no observations nothing is selectable; the value stays 1.
    SetUpDown(1, count, 1, count > 0);
    RepaintGraphs();
}

void f2::ShowEmptyStation() {
    UncheckStationButtons();
    curStation_ = 0;
    InitObservationGrid();
    SetUpDown(0, 1, 1, false);
    filling_ = true;
    checkE_->SetStored(QStringLiteral("0"));
    checkS_->SetStored(QStringLiteral("0"));
    filling_ = false;
    for (int i : {2, 3, 4, 7}) lbl_[static_cast<std::size_t>(i)]->setText(QStringLiteral(" "));
    label1_->setText(QString());
    RepaintGraphs();
}

int f2::SelectedObservation() const { return upDown1_->isEnabled() ? upDown1_->value() : 0; }

void f2::cmd_ks_Click() {
    CommitGridEdit();
    if (stationListCommand) stationListCommand();
}

void f2::cmd_op_Click() {
    CommitGridEdit();
    if (graphOptionsCommand) graphOptionsCommand();
}

// The spinner's value goes into the box also while the spinner is
// disabled; the box's own checks decide what is stored.
void f2::Command1_Click() { checkS_->SetStored(QString::number(upDown1_->value())); }

void f2::Command2_Click() { checkE_->SetStored(QString::number(upDown1_->value())); }

void f2::ApplyRangeBox(bool saPrime) {
    if (filling_ || !StationShown()) return;
    // Only a value the observation file takes is stored; until the text is
    // one (or the box is left and refuses it) the station keeps its value.
    grid::NumberBox* check = saPrime ? checkE_ : checkS_;
    const auto value = check->StorableValue();
    if (!value) return;
    StationRecord& s = data_->Stations[curStation_];
    (saPrime ? s.SaPrime : s.Sa) = static_cast<std::int16_t>(*value);
    check->KeepStored(QString::number(*value));
    RepaintTimeGraph();
}

void f2::TS_Change() { ApplyRangeBox(false); }
void f2::TE_Change() { ApplyRangeBox(true); }

void f2::TS_LostFocus() { checkS_->Leave(); }
void f2::TE_LostFocus() { checkE_->Leave(); }

void f2::CommitGridEdit() {
    if (grid_) grid_->CommitEdit();
    // A range box still being typed into is checked as on leaving it: the
    // command then works with what the box shows, which is what is stored.
    const std::pair<QLineEdit*, grid::NumberBox*> boxes[] = {{ts_, checkS_}, {te_, checkE_}};
    for (const auto& [box, check] : boxes)
        if (box && check && box->text() != check->Stored()) check->Leave();
}

void f2::QEXFLG_CellEdited() {
    SetPanel1(Q(kGridHelp));
    const auto edit = grid_->TakeTextEdit();
    if (!StationShown()) return;
    // The edited cell first: a refused text is put back and nothing stored.
    if (edit) {
        const auto [r, c] = *edit;
        if (auto why = RefuseCell(r, c, grid_->Text(r, c))) {
            grid_->RevertTextEdit();  // the old text is back before the message
            services_.messages->Notify(*why, MsgIcon::Exclamation);
            return;
        }
    }
    // Every row in use needs its date before anything is stored, or an
    // inserted empty row would take the date of the row it displaced.
    // A refused edit goes back to the text the record still holds, so that
    // the grid never shows what was not stored.
    if (FirstRowWithoutDate(ShownGrid()) > 0) {
        if (edit) grid_->RevertTextEdit();
        services_.messages->Notify(kBadDateText, MsgIcon::None);
        // The date to give: the row still without one, else the row typed in.
        int row = FirstRowWithoutDate(ShownGrid());
        if (row == 0 && edit) row = edit->first;
        // The editor may still be closing: move once it has.
        QMetaObject::invokeMethod(
            this,
            [this, row] {
                if (row > 0) grid_->SetCurrentCell(row, kColDate);
                grid_->setFocus(Qt::OtherFocusReason);
            },
            Qt::QueuedConnection);
        return;
    }
    const GridTexts grid = ShownGrid();
    StationRecord& s = data_->Stations[curStation_];
    StoreGridRows(grid, s);
    grid_->Renumber();
    // The edited row shows what was stored (an SW of 2 is stored as 0).
    if (edit) grid_->ShowRow(edit->first, s);
    RepaintTimeGraph();
    const int count = s.Count;
    SetUpDown(1, count, upDown1_->value(), count > 0);
}

void f2::SetUpDown(int minimum, int maximum, int value, bool enabled) {
    // A spin box cannot run from 1 down to 0: an empty range keeps the
    // minimum, which is then the value Command1 and Command2 hand on.
    upDown1_->setRange(minimum, std::max(minimum, maximum));
    upDown1_->setValue(value);
    upDown1_->setEnabled(enabled);
    for (QToolButton* arrow : upDownArrows_) arrow->setEnabled(enabled);
}

void f2::Toolbar1_ButtonClick(int index) {
    if (QAction* a = actions_->Button(index)) a->trigger();
}

void f2::SetPanel1(const QString& text) { panel1_->setText(text); }

bool f2::eventFilter(QObject* watched, QEvent* e) {
    // The controls whose help shows while the pointer is over them.
    auto pointerHelp = [this](const QObject* w) {
        if (w == cmdOp_ || w == command1_ || w == command2_ || w == upDown1_ || w == upDownArrows_[0] ||
            w == upDownArrows_[1])
            return true;
        return std::find(optP_.begin(), optP_.end(), w) != optP_.end();
    };
    // Over every area without help of its own the panel is blank. Qt sends
    // no Enter to a parent when the pointer comes back to it from a child:
    // a control's help goes when the pointer leaves it (what it enters next
    // sets its own), and a move over the bare background blanks it too.
    if (e->type() == QEvent::Leave && pointerHelp(watched)) {
        SetPanel1(QStringLiteral(" "));
    } else if (e->type() == QEvent::MouseMove && (watched == client_ || watched == fra1_)) {
        const auto* area = static_cast<QWidget*>(watched);
        const QPoint at = static_cast<QMouseEvent*>(e)->position().toPoint();
        if (!area->childAt(at)) SetPanel1(QStringLiteral(" "));
    }
    if (e->type() == QEvent::Enter) {
        if (watched == cmdOp_) SetPanel1(Q("グラフ表示オプション＞沈下予測に対する条件指定"));
        else if (watched == command1_) SetPanel1(Q("Sa代入ボタン＞現在の観測データをSaとする"));
        else if (watched == command2_) SetPanel1(Q("Sa'代入ボタン＞現在の観測データをSa'とする"));
        else if (watched == upDown1_ || watched == upDownArrows_[0] || watched == upDownArrows_[1])
            SetPanel1(Q("観測データ確認＞左右ボタンで切り換え。（→ボタンでSa-Sa'を代入）"));
        else if (watched == client_ || watched == fra1_) SetPanel1(QStringLiteral(" "));
        else
            for (int i = 0; i < kMaxStations; ++i)
                if (watched == optP_[static_cast<std::size_t>(i)]) SetPanel1(Q(kStationButtonHelp));
    } else if (e->type() == QEvent::KeyPress && watched == grid_ && !StationShown()) {
        // A reading typed before there is a station would be lost unseen.
        if (!static_cast<QKeyEvent*>(e)->text().trimmed().isEmpty()) {
            services_.messages->Notify(data_->StationCount < 1 ? kNoStationText : kNoStationShownText,
                                       MsgIcon::Exclamation);
            return true;
        }
    } else if (e->type() == QEvent::FocusIn) {
        if (watched == grid_) SetPanel1(Q(StationShown() ? kGridHelp : kNoStationHelp));
        else if (watched == txtN_) SetPanel1(Q(kTxtNHelp));
    } else if (e->type() == QEvent::FocusOut) {
        if (watched == grid_) SetPanel1(QStringLiteral("  "));
        else if (watched == txtN_) SetPanel1(QStringLiteral(" "));
    }
    return QMainWindow::eventFilter(watched, e);
}

}  // namespace kova::predict
