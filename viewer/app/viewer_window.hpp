#pragma once
// The window of VIEWQEX2 /PDTOPEN: the page files of the folder on the left,
// the chosen one as pages on the right (painted as they come into view, so
// that a report of any length takes little memory), 印刷, PDF保存 and the
// zoom above, and the first reading fault of the chosen report below.
#include <QMainWindow>
#include <filesystem>
#include <vector>

#include "platform/filedialog.hpp"
#include "platform/message.hpp"
#include "viewer/app/document.hpp"
#include "viewer/reader/report_set.hpp"

class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;

namespace kova::viewer {

class PagesView;

class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    ViewerWindow(const std::filesystem::path& folder, FileDialogs& files, MessageSink& messages,
                 QWidget* parent = nullptr, ReportSet set = ReportSet::All);
    ~ViewerWindow() override;

    int ReportCount() const { return static_cast<int>(reports_.size()); }
    int Current() const { return current_; }
    void Show(int index);
    // PDF of the chosen report (or of every report) into the file the save
    // dialog gives.
    void SavePdf();
    void Print();
    // Whether 印刷 and PDF保存 take every report rather than the chosen one.
    void SetAllReports(bool all);
    QListWidget* List() const { return list_; }
    QString FaultText() const;
    // Pages of the chosen report on screen.
    int ShownPages() const;
    // End and Ctrl+End: the last page of the chosen report at the top of
    // the pane (as far as the pane scrolls).
    void LastPage();
    // The page at the top of the pane (0-based).
    int TopPage() const;

    // Zoom: screen pixels per page unit; fitting the width follows the pane.
    void FitWidth();
    void ActualSize();
    void ZoomBy(double factor);
    double Zoom() const;
    bool Fitting() const;
    // Pages painted so far (for checks that only visible pages are).
    int PaintedPages() const;
    // Where PDF保存 and 印刷 to a file start: the folder last saved to.
    std::filesystem::path SaveFolder() const { return saveFolder_; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    // The pane's own resizes (the window laid out, the splitter moved).
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::vector<const LaidReport*> Chosen() const;
    std::string ChosenName() const;
    std::filesystem::path DefaultPath(const std::string& ext) const;

    FileDialogs& files_;
    MessageSink& messages_;
    std::vector<LaidReport> reports_;
    int current_ = -1;
    QListWidget* list_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PagesView* view_ = nullptr;
    QComboBox* scope_ = nullptr;
    QLabel* fault_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    std::filesystem::path saveFolder_;
    bool fitting_ = true;
};

}  // namespace kova::viewer
