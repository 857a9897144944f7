// VIEWQEX2: the print preview of the reports in the current folder.
//   VIEWQEX2 /PDTOPEN     the window; ends when it is closed
//   VIEWQEX2 --pdf FILE   every report into one PDF, without a window; exit 0,
//                         or 1 after a message on stderr when there is no
//                         report, one cannot be read whole, or FILE cannot be
//                         written (what could be read is still written)
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/messages_qt.hpp"
#include "viewer/app/document.hpp"
#include "viewer/app/viewer_window.hpp"
#include "viewer/reader/report_set.hpp"

namespace {

int ExportPdf(const char* file) {
    namespace kv = kova::viewer;
    const auto files = kv::PageFilesIn(std::filesystem::current_path());
    if (files.empty()) {
        std::fprintf(stderr, "VIEWQEX2: 印刷するファイル（*.PDT）がありません\n");
        return 1;
    }
    std::vector<kv::LaidReport> reports;
    std::vector<const kv::LaidPage*> pages;
    int status = 0;
    for (const auto& f : files) {
        reports.push_back(kv::LoadLaid(f));
        for (const kv::Fault& fault : reports.back().report->Faults()) {
            std::fprintf(stderr, "VIEWQEX2: %s\n", fault.Text().c_str());
            status = 1;
        }
    }
    for (const auto& r : reports)
        for (const auto& p : r.pages) pages.push_back(&p);
    if (!kv::WritePdf(pages, QString::fromLocal8Bit(file), QString::fromStdString(reports.front().report->page.title))) {
        std::fprintf(stderr, "VIEWQEX2: %s に書き込めません\n", file);
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--pdf") == 0) {
        if (argc != 3) {
            std::fprintf(stderr, "usage: VIEWQEX2 /PDTOPEN | VIEWQEX2 --pdf FILE\n");
            return 1;
        }
        // No window: a display is not needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return ExportPdf(argv[2]);
    }
    QApplication app(argc, argv);
    kova::QtFileDialogs files;
    kova::QtMessages messages("VIEWQEX2");
    kova::viewer::ViewerWindow window(std::filesystem::current_path(), files, messages);
    files.SetOwner(&window);
    messages.SetOwner(&window);
    window.show();
    return app.exec();
}
