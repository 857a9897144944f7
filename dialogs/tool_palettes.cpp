#include "dialogs/tool_palettes.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QPushButton>
#include <algorithm>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "model/boundary.hpp"
#include "model/reset.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"

namespace kova {

namespace {

constexpr int kClientWidth = 1470;
constexpr int kButtonLeft = 120;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
// Pixels of a title bar beside its caption: the icon and the buttons a
// window manager draws (some draw minimise and maximise whatever the window
// asks), up to 24 pixels each, and the margins around them.
constexpr int kTitleBarRoom = 4 * 24 + 32;

// Every palette but the point palette blanks panel 1 with two blanks.
constexpr const char* kTwoBlanks = "  ";
constexpr const char* kOneBlank = " ";

namespace M = CmdMode;

constexpr PaletteOption kLineOptions[] = {
    {"追加", 180, M::kBoundaryLines},
    {"削除", 600, M::kDeleteBoundaryLines},
};

constexpr PaletteOption kBlockOptions[] = {
    {"新規盛土", 180, M::kNewEmbankment},
    {"新規土層", 600, M::kNewSoilLayer},
    {"再認識", 1020, M::kPickFill},
    {"削除", 1440, M::kDeleteFill},
    {"盛土編集", 1980, M::kNone, &PaletteDialogs::dialog1},
    {"土層編集", 2400, M::kNone, &PaletteDialogs::dialog4},
    {"土質定数編集", 2820, M::kNone, &PaletteDialogs::dialog5},
    {"促進工法編集", 3240, M::kNone, &PaletteDialogs::dialog11},
};

// By Index; "切土再認識" (5) stands between "新規切土" and "切土削除".
constexpr PaletteOption kTerrainOptions[] = {
    {"地形線追加", 180, M::kTerrainLines},
    {"地形線削除", 600, M::kDeleteTerrainLines},
    {"新規切土", 1140, M::kNewCut},
    {"切土削除", 1980, M::kDeleteCut},
    {"切土編集", 2520, M::kNone, &PaletteDialogs::dialog10},
    {"切土再認識", 1560, M::kPickCut},
};

constexpr PaletteOption kPointOptions[] = {
    {"一覧表編集", 180, M::kNone, &PaletteDialogs::dialog0},
    {"２線分交点", 720, M::kTwoLinesCrossing},
    {"垂直線交点", 1140, M::kVerticalThroughPoint},
    {"水平線交点", 1560, M::kHorizontalThroughPoint},
    {"垂線足交点", 1980, M::kFootOfPerpendicular},
};

}  // namespace

int CaptionRoom(const QString& caption) {
    // The title font is the window manager's: a bold face up to a third
    // larger than the application's (a face without Japanese glyphs falls
    // back to a wider one).
    QFont f = QApplication::font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() > 0 ? f.pointSizeF() * 4 / 3 : 12);
    return QFontMetrics(f).horizontalAdvance(caption) + kTitleBarRoom;
}

void CloseToolPalettes() {
    const ToolPalette::ToolMenuClosing byMenu;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        const std::string caption = U(w->windowTitle());
        for (const char* c : kPaletteCaptions)
            if (caption == c) {
                w->close();
                break;
            }
    }
}

PaletteDialogs& PaletteDialogHooks() {
    static PaletteDialogs hooks{
        [](EditorHost& h, QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog0>(h, owner); },
        [](EditorHost& h, QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog1>(h, owner); },
        [](EditorHost& h, QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog4>(h, owner); },
        [](EditorHost& h, QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog5>(h, owner); },
        [](EditorHost& h, QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog10>(h, owner); },
        [](EditorHost& h, QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog11>(h, owner); },
    };
    return hooks;
}

// ---- EditPalette ----------------------------------------------------------------

EditPalette::EditPalette(EditorHost& host, QWidget* owner, const char* caption, const char* blankPrompt,
                         int clientHeight, std::span<const PaletteOption> options, int closeTop)
    : ToolPalette(host, owner, Q(caption), blankPrompt), options_(options.begin(), options.end()), blank_(blankPrompt) {
    std::vector<QString> captions;
    for (const PaletteOption& o : options_) captions.push_back(Q(o.caption));
    AddOptions(captions, kButtonLeft, 0, kButtonWidth, kButtonHeight, 0);
    const TwipsScale s = ScreenTwips(this);
    for (int i = 0; i < OptionCount(); ++i)
        Option(i)->setGeometry(TwipsRect(s, kButtonLeft, Opt(i).top, kButtonWidth, kButtonHeight));
    closeButton_->setGeometry(TwipsRect(s, kButtonLeft, closeTop, kButtonWidth, kButtonHeight));
    // Tab moves down the column as the buttons stand, not in Index order.
    std::vector<QWidget*> column;
    for (int i = 0; i < OptionCount(); ++i) column.push_back(Option(i));
    std::stable_sort(column.begin(), column.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    column.push_back(closeButton_);
    for (std::size_t i = 0; i + 1 < column.size(); ++i) setTabOrder(column[i], column[i + 1]);
    // Wide enough for the caption beside the title bar's icon and close
    // box; the column stays in the middle.
    const int base = s.ToPixelsX(kClientWidth);
    const int width = std::max(base, CaptionRoom(Q(caption)));
    if (width > base)
        for (QObject* o : children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow()) w->move(w->x() + (width - base) / 2, w->y());
    setFixedSize(width, s.ToPixelsY(clientHeight));
}

void EditPalette::OptionClicked(int index) {
    const PaletteOption& o = Opt(index);
    if (!o.dialog) {
        // The tool it leaves drops its picks.
        host_.SwitchTool(o.mode);
        return;
    }
    host_.SetStatusText(1, blank_);
    const int tool = host_.State().cmd_mode;
    const PaletteDialogFactory& factory = PaletteDialogHooks().*o.dialog;
    std::unique_ptr<QDialog> dialog = factory ? factory(host_, this) : nullptr;
    if (dialog) RunModalFromOption(index, *dialog);
    else SetOptionUp(index);
    // The tool stays (unless the dialog ended it), without its picks.
    host_.DropPicks(tool);
}

void EditPalette::RebuildLinksFrom(bool cutLines) {
    Model& m = host_.SectionModel();
    const bool all = cutLines ? RebuildLinks(m, m.CutLine, m.CutLineCount) : RebuildLinks(m, m.BndLine, m.BndLineCount);
    if (!all && !linkMessageShown_) {
        linkMessageShown_ = true;
        host_.Messages().Notify(kTooManyLinesAtPoint, MsgIcon::Exclamation);
    }
}

// ---- Dialog2 --------------------------------------------------------------------

Dialog2::Dialog2(EditorHost& host, QWidget* owner)
    : EditPalette(host, owner, "境界線編集", kTwoBlanks, 1590, kLineOptions, 1020) {
    Load();
}

// ---- Dialog3 --------------------------------------------------------------------

Dialog3::Dialog3(EditorHost& host, QWidget* owner)
    : EditPalette(host, owner, "ブロック編集", kTwoBlanks, 4380, kBlockOptions, 3780) {
    Load();
    // The block tools trace over the boundary lines.
    RebuildLinksFrom(false);
}

void Dialog3::ClearPicks() { host_.State().tools.ForgetPicks(); }

// ---- Dialog9 --------------------------------------------------------------------

Dialog9::Dialog9(EditorHost& host, QWidget* owner)
    : EditPalette(host, owner, "施工前地形編集", kTwoBlanks, 3645, kTerrainOptions, 3060) {
    Load();
}

void Dialog9::OptionClicked(int index) {
    // Terrain lines added with this palette's own tools take part in the
    // next tracing.
    RebuildLinksFrom(true);
    EditPalette::OptionClicked(index);
}

void Dialog9::closeEvent(QCloseEvent* e) {
    EditPalette::closeEvent(e);
    // The marks number terrain lines: left behind once no terrain tool is in
    // force, the canvas would show the boundary lines of those numbers as
    // marked.
    EditorState& st = host_.State();
    if (st.SelCount == 0 && std::find(st.SelFlags.begin(), st.SelFlags.end(), 1) == st.SelFlags.end()) return;
    st.SelFlags.fill(-1);
    st.SelCount = 0;
    host_.Refresh();
}

// ---- Dialog14 -------------------------------------------------------------------

Dialog14::Dialog14(EditorHost& host, QWidget* owner)
    : EditPalette(host, owner, "境界点編集", kOneBlank, 3120, kPointOptions, 2520) {
    Load();
}

void Dialog14::UnloadPicks() {
    if (picksUnloaded_) return;
    picksUnloaded_ = true;
    // As on opening: every pick of its tools goes.
    ClearPicks();
    host_.Refresh();
}

void Dialog14::closeEvent(QCloseEvent* e) {
    EditPalette::closeEvent(e);
    UnloadPicks();
}

// ---- the tool options -----------------------------------------------------------

namespace {

QWidget* ShowPalette(QWidget* palette) {
    palette->setAttribute(Qt::WA_DeleteOnClose);
    palette->show();
    return palette;
}

}  // namespace

QWidget* OpenPointPalette(EditorHost& host) { return ShowPalette(new Dialog14(host, host.OwnerWidget())); }
QWidget* OpenLinePalette(EditorHost& host) { return ShowPalette(new Dialog2(host, host.OwnerWidget())); }
QWidget* OpenBlockPalette(EditorHost& host) { return ShowPalette(new Dialog3(host, host.OwnerWidget())); }
QWidget* OpenTerrainPalette(EditorHost& host) { return ShowPalette(new Dialog9(host, host.OwnerWidget())); }

}  // namespace kova
