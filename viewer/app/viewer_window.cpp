#include "viewer/app/viewer_window.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "viewer/reader/report_set.hpp"

namespace kova::viewer {

ViewerWindow::ViewerWindow(const std::filesystem::path& folder, FileDialogs& files, MessageSink& messages,
                           QWidget* parent)
    : QMainWindow(parent), files_(files), messages_(messages) {
    setWindowTitle(QStringLiteral("VIEWQEX2 - 印刷プレビュー"));
    for (const auto& p : PageFilesIn(folder)) reports_.push_back(LoadLaid(p));

    QToolBar* bar = addToolBar(QStringLiteral("操作"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* print = bar->addAction(QStringLiteral("印刷"));
    QAction* pdf = bar->addAction(QStringLiteral("PDF保存"));
    bar->addSeparator();
    QAction* close = bar->addAction(QStringLiteral("閉じる"));
    print->setEnabled(!reports_.empty());
    pdf->setEnabled(!reports_.empty());
    connect(print, &QAction::triggered, this, [this] { Print(); });
    connect(pdf, &QAction::triggered, this, [this] { SavePdf(); });
    connect(close, &QAction::triggered, this, &QWidget::close);

    auto* split = new QSplitter(this);
    list_ = new QListWidget(split);
    for (const LaidReport& r : reports_)
        list_->addItem(QString::fromStdString(r.Name() + "  " + r.report->page.title));
    list_->setMinimumWidth(180);
    scroll_ = new QScrollArea(split);
    scroll_->setWidgetResizable(true);
    scroll_->setBackgroundRole(QPalette::Dark);
    pagesBox_ = new QWidget;
    pagesLayout_ = new QVBoxLayout(pagesBox_);
    pagesLayout_->setSpacing(12);
    pagesLayout_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setWidget(pagesBox_);
    split->addWidget(list_);
    split->addWidget(scroll_);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);

    fault_ = new QLabel(this);
    fault_->setStyleSheet(QStringLiteral("color: #c00000"));
    statusBar()->addWidget(fault_, 1);
    if (reports_.empty()) fault_->setText(QStringLiteral("印刷するファイル（*.PDT）がありません"));

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { Show(row); });
    resize(1000, 800);
    if (!reports_.empty()) list_->setCurrentRow(0);
}

QString ViewerWindow::FaultText() const { return fault_->text(); }

int ViewerWindow::ShownPages() const { return pagesLayout_->count(); }

std::vector<const LaidPage*> ViewerWindow::CurrentPages() const {
    std::vector<const LaidPage*> pages;
    if (current_ < 0) return pages;
    for (const LaidPage& p : reports_[static_cast<std::size_t>(current_)].pages) pages.push_back(&p);
    return pages;
}

void ViewerWindow::Show(int index) {
    if (index < 0 || index >= ReportCount()) return;
    current_ = index;
    if (list_->currentRow() != index) list_->setCurrentRow(index);
    const auto faults = reports_[static_cast<std::size_t>(index)].report->Faults();
    fault_->setText(faults.empty() ? QString() : QString::fromStdString("読み込みの誤り: " + faults.front().Text()));
    renderedWidth_ = 0;
    RenderPages();
    scroll_->verticalScrollBar()->setValue(0);
}

void ViewerWindow::RenderPages() {
    const int width = std::max(300, scroll_->viewport()->width() - 40);
    if (width == renderedWidth_) return;
    renderedWidth_ = width;
    while (QLayoutItem* item = pagesLayout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const LaidPage* page : CurrentPages()) {
        auto* label = new QLabel;
        label->setPixmap(QPixmap::fromImage(RenderPage(*page, width)));
        label->setFrameShape(QFrame::Box);
        pagesLayout_->addWidget(label);
    }
}

void ViewerWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (current_ >= 0) RenderPages();
}

void ViewerWindow::SavePdf() {
    if (current_ < 0) return;
    const LaidReport& r = reports_[static_cast<std::size_t>(current_)];
    std::string base = r.Name();
    base = base.substr(0, base.rfind('.')) + ".pdf";
    auto file = files_.SaveFile({"PDF ﾌｧｲﾙ (*.pdf)|*.pdf", base});
    if (!file) return;
    if (!WritePdf(CurrentPages(), QString::fromStdString(file->string()), QString::fromStdString(r.report->page.title)))
        messages_.Show({file->filename().string() + " に書き込めません", "", MsgIcon::Exclamation});
}

void ViewerWindow::Print() {
    if (current_ < 0) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(reports_[static_cast<std::size_t>(current_)].report->page.title));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!PaintPages(CurrentPages(), printer))
        messages_.Show({"印刷できません", "", MsgIcon::Exclamation});
}

}  // namespace kova::viewer
