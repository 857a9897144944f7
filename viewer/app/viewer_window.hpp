#pragma once
// The window of VIEWQEX2 /PDTOPEN: the page files of the folder on the left,
// the chosen one as pages on the right, 印刷 and PDF保存 above, and the first
// reading fault of the chosen report below.
#include <QMainWindow>
#include <filesystem>
#include <vector>

#include "platform/filedialog.hpp"
#include "platform/message.hpp"
#include "viewer/app/document.hpp"

class QLabel;
class QListWidget;
class QVBoxLayout;
class QScrollArea;

namespace kova::viewer {

class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    ViewerWindow(const std::filesystem::path& folder, FileDialogs& files, MessageSink& messages,
                 QWidget* parent = nullptr);

    int ReportCount() const { return static_cast<int>(reports_.size()); }
    int Current() const { return current_; }
    void Show(int index);
    // PDF of the chosen report into the file the save dialog gives.
    void SavePdf();
    void Print();
    QListWidget* List() const { return list_; }
    QString FaultText() const;
    // Pages of the chosen report on screen.
    int ShownPages() const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void RenderPages();
    std::vector<const LaidPage*> CurrentPages() const;

    FileDialogs& files_;
    MessageSink& messages_;
    std::vector<LaidReport> reports_;
    int current_ = -1;
    QListWidget* list_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* pagesBox_ = nullptr;
    QVBoxLayout* pagesLayout_ = nullptr;
    QLabel* fault_ = nullptr;
    int renderedWidth_ = 0;
};

}  // namespace kova::viewer
