#include "viewer/app/viewer_window.hpp"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <cmath>

namespace kova::viewer {

// The pages of one report, one under the other; only the pages that meet
// the exposed area are painted, straight from their layout.
class PagesView : public QWidget {
public:
    explicit PagesView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    void SetPages(std::vector<PrintPage> pages) {
        pages_ = std::move(pages);
        Relayout();
    }
    int Count() const { return static_cast<int>(pages_.size()); }
    // Where page i starts in the view.
    int PageTop(int i) const { return kGap + i * (PageSize().height() + kGap); }
    // The page whose top is at or just above y.
    int PageAt(int y) const { return std::clamp((y - kGap) / (PageSize().height() + kGap), 0, std::max(Count() - 1, 0)); }
    void SetScale(double s) {
        scale_ = std::clamp(s, 0.05, 8.0);
        Relayout();
    }
    double Scale() const { return scale_; }
    int Painted() const { return painted_; }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter painter(this);
        painter.fillRect(e->rect(), palette().color(QPalette::Dark));
        const QSize page = PageSize();
        const int x = std::max(kGap, (width() - page.width()) / 2);
        for (int i = 0; i < Count(); ++i) {
            const QRect r(x, kGap + i * (page.height() + kGap), page.width(), page.height());
            if (!r.intersects(e->rect())) continue;
            painter.fillRect(r, Qt::white);
            painter.save();
            painter.setClipRect(r);
            painter.translate(r.topLeft());
            painter.scale(scale_, scale_);
            PaintOne(painter, pages_[static_cast<std::size_t>(i)]);
            painter.restore();
            painter.setPen(Qt::black);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            ++painted_;
        }
    }

private:
    static constexpr int kGap = 12;
    QSize PageSize() const {
        return {static_cast<int>(std::lround(kPageWidth * scale_)),
                static_cast<int>(std::lround(kPageHeight * scale_))};
    }
    void Relayout() {
        const QSize page = PageSize();
        setFixedSize(page.width() + 2 * kGap, kGap + Count() * (page.height() + kGap));
        update();
    }
    std::vector<PrintPage> pages_;
    double scale_ = 0.3;
    int painted_ = 0;
};

ViewerWindow::ViewerWindow(const std::filesystem::path& folder, FileDialogs& files, MessageSink& messages,
                           QWidget* parent, ReportSet set)
    : QMainWindow(parent), files_(files), messages_(messages) {
    setWindowTitle(QStringLiteral("VIEWQEX2 - 印刷プレビュー"));
    reports_ = LoadSet(PageFilesIn(folder, set));
    // The documents folder where there is one (a name in a folder that does
    // not exist would land in the dialog's name box), else the home folder.
    std::error_code ec;
    saveFolder_ = std::filesystem::current_path();
    for (auto where : {QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation}) {
        const std::filesystem::path p = QStandardPaths::writableLocation(where).toStdString();
        if (!p.empty() && std::filesystem::is_directory(p, ec)) {
            saveFolder_ = p;
            break;
        }
    }

    QToolBar* bar = addToolBar(QStringLiteral("操作"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* print = bar->addAction(QStringLiteral("印刷"));
    QAction* pdf = bar->addAction(QStringLiteral("PDF保存"));
    scope_ = new QComboBox(bar);
    scope_->addItems({QStringLiteral("選択した帳票"), QStringLiteral("すべての帳票")});
    scope_->setToolTip(QStringLiteral("印刷とPDF保存の対象"));
    bar->addWidget(scope_);
    bar->addSeparator();
    QAction* fit = bar->addAction(QStringLiteral("幅に合わせる"));
    QAction* actual = bar->addAction(QStringLiteral("100%"));
    QAction* in = bar->addAction(QStringLiteral("拡大"));
    QAction* out = bar->addAction(QStringLiteral("縮小"));
    in->setShortcut(QKeySequence::ZoomIn);
    out->setShortcut(QKeySequence::ZoomOut);
    zoomLabel_ = new QLabel(bar);
    bar->addWidget(zoomLabel_);
    bar->addSeparator();
    QAction* close = bar->addAction(QStringLiteral("閉じる"));
    for (QAction* a : {print, pdf, fit, actual, in, out}) a->setEnabled(!reports_.empty());
    scope_->setEnabled(!reports_.empty());
    connect(print, &QAction::triggered, this, [this] { Print(); });
    connect(pdf, &QAction::triggered, this, [this] { SavePdf(); });
    connect(fit, &QAction::triggered, this, [this] { FitWidth(); });
    connect(actual, &QAction::triggered, this, [this] { ActualSize(); });
    connect(in, &QAction::triggered, this, [this] { ZoomBy(1.25); });
    connect(out, &QAction::triggered, this, [this] { ZoomBy(0.8); });
    connect(close, &QAction::triggered, this, &QWidget::close);

    auto* split = new QSplitter(this);
    list_ = new QListWidget(split);
    for (const LaidReport& r : reports_) list_->addItem(QString::fromStdString(r.Name() + "  " + r.report->page.title));
    list_->setMinimumWidth(180);
    scroll_ = new QScrollArea(split);
    scroll_->setWidgetResizable(false);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PagesView(scroll_);
    scroll_->viewport()->installEventFilter(this);
    scroll_->setWidget(view_);
    split->addWidget(list_);
    split->addWidget(scroll_);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);

    fault_ = new QLabel(this);
    fault_->setStyleSheet(QStringLiteral("color: #c00000"));
    statusBar()->addWidget(fault_, 1);
    if (reports_.empty()) fault_->setText(QStringLiteral("印刷するファイル（*.PDT）がありません"));

    // The scroll area knows no End; the last page is what a reader wants
    // there, whichever pane has the focus.
    for (QKeySequence key : {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)}) {
        auto* last = new QShortcut(key, this);
        connect(last, &QShortcut::activated, this, [this] { LastPage(); });
    }

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { Show(row); });
    resize(1000, 800);
    fitting_ = true;
    if (!reports_.empty()) list_->setCurrentRow(0);
}

ViewerWindow::~ViewerWindow() = default;

QString ViewerWindow::FaultText() const { return fault_->text(); }

int ViewerWindow::ShownPages() const { return view_->Count(); }

int ViewerWindow::PaintedPages() const { return view_->Painted(); }

double ViewerWindow::Zoom() const { return view_->Scale(); }

bool ViewerWindow::Fitting() const { return fitting_; }

std::vector<const LaidReport*> ViewerWindow::Chosen() const {
    std::vector<const LaidReport*> out;
    const bool all = scope_->currentIndex() == 1;
    for (int i = 0; i < ReportCount(); ++i)
        if (all || i == current_) out.push_back(&reports_[static_cast<std::size_t>(i)]);
    return out;
}

void ViewerWindow::SetAllReports(bool all) { scope_->setCurrentIndex(all ? 1 : 0); }

void ViewerWindow::Show(int index) {
    if (index < 0 || index >= ReportCount()) return;
    current_ = index;
    if (list_->currentRow() != index) list_->setCurrentRow(index);
    const LaidReport& r = reports_[static_cast<std::size_t>(index)];
    const auto faults = r.report->Faults();
    fault_->setText(faults.empty() ? QString() : QString::fromStdString("読み込みの誤り: " + faults.front().Text()));
    view_->SetPages(PrintSet({&r}));
    if (fitting_) FitWidth();
    scroll_->verticalScrollBar()->setValue(0);
}

void ViewerWindow::LastPage() {
    if (view_->Count() == 0) return;
    scroll_->verticalScrollBar()->setValue(view_->PageTop(view_->Count() - 1));
}

int ViewerWindow::TopPage() const { return view_->PageAt(scroll_->verticalScrollBar()->value()); }

void ViewerWindow::FitWidth() {
    fitting_ = true;
    const int room = scroll_->viewport()->width() - 2 * 12 - 2;
    view_->SetScale(std::max(room, 100) / kPageWidth);
    zoomLabel_->setText(QStringLiteral(" %1% ").arg(std::lround(Zoom() / (logicalDpiX() / 254.0) * 100)));
}

void ViewerWindow::ActualSize() {
    fitting_ = false;
    // A page unit is a tenth of a millimetre.
    view_->SetScale(logicalDpiX() / 254.0);
    zoomLabel_->setText(QStringLiteral(" 100% "));
}

void ViewerWindow::ZoomBy(double factor) {
    fitting_ = false;
    view_->SetScale(Zoom() * factor);
    zoomLabel_->setText(QStringLiteral(" %1% ").arg(std::lround(Zoom() / (logicalDpiX() / 254.0) * 100)));
}

void ViewerWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (fitting_ && current_ >= 0) FitWidth();
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == scroll_->viewport() && e->type() == QEvent::Resize && fitting_ && current_ >= 0) FitWidth();
    return QMainWindow::eventFilter(watched, e);
}

std::string ViewerWindow::ChosenName() const {
    if (scope_->currentIndex() == 1 || current_ < 0) {
        // Every report: the set's own name, the calculation's or the prediction's.
        const std::string first = reports_.empty() ? std::string() : reports_.front().Name();
        return first.rfind("TL_PRD", 0) == 0 ? "TL_PRD" : "TK_ALL";
    }
    std::string base = reports_[static_cast<std::size_t>(current_)].Name();
    return base.substr(0, base.rfind('.'));
}

std::filesystem::path ViewerWindow::DefaultPath(const std::string& ext) const {
    return saveFolder_ / (ChosenName() + ext);
}

void ViewerWindow::SavePdf() {
    if (current_ < 0) return;
    auto file = files_.SaveFile({"PDFファイル (*.pdf)|*.pdf", DefaultPath(".pdf").string()});
    if (!file) return;
    const auto chosen = Chosen();
    if (!WritePdf(PrintSet(chosen), QString::fromStdString(file->string()),
                  QString::fromStdString(chosen.front()->DocumentTitle()))) {
        messages_.Show({file->filename().string() + " に書き込めません", "", MsgIcon::Exclamation});
        return;
    }
    saveFolder_ = file->parent_path();
}

void ViewerWindow::Print() {
    if (current_ < 0) return;
    const auto chosen = Chosen();
    const std::vector<PrintPage> set = PrintSet(chosen);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(ChosenName()));
    printer.setOutputFileName(QString::fromStdString(DefaultPath(".pdf").string()));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, static_cast<int>(set.size()));
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<PrintPage> pages = set;
    if (printer.printRange() == QPrinter::PageRange) pages = PageRange(set, printer.fromPage(), printer.toPage());
    if (pages.empty()) return;
    if (!PaintPages(pages, printer)) {
        messages_.Show({"印刷できません", "", MsgIcon::Exclamation});
        return;
    }
    if (!printer.outputFileName().isEmpty())
        saveFolder_ = std::filesystem::path(printer.outputFileName().toStdString()).parent_path();
}

}  // namespace kova::viewer
