// VIEWQEX2: the print preview of the reports in the current folder.
//   VIEWQEX2 /PDTOPEN [SET]     the window; ends when it is closed
//   VIEWQEX2 --pdf FILE [SET]   every report into one PDF, without a window;
//                               exit 0, or 1 after a message on stderr when
//                               there is no report, one cannot be read whole,
//                               or FILE cannot be written (what could be read
//                               is still written)
// SET, when given, keeps to one program's reports: TK the calculation's
// (TK_DATA.PDT, TK_DT_nn.PDT), TL the prediction's (TL_PRDk.PDT); both
// programs share the folder.
#include <QApplication>
#include <QGuiApplication>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/translations_qt.hpp"
#include "viewer/app/document.hpp"
#include "viewer/app/viewer_window.hpp"
#include "viewer/reader/report_set.hpp"

namespace {

namespace kv = kova::viewer;

int ExportPdf(const char* file, kv::ReportSet set) {
    const auto files = kv::PageFilesIn(std::filesystem::current_path(), set);
    if (files.empty()) {
        std::fprintf(stderr, "VIEWQEX2: 印刷するファイル（*.PDT）がありません\n");
        return 1;
    }
    const std::vector<kv::LaidReport> reports = kv::LoadSet(files);
    std::vector<const kv::LaidReport*> all;
    int status = 0;
    for (const auto& r : reports) {
        all.push_back(&r);
        for (const kv::Fault& fault : r.report->Faults()) {
            std::fprintf(stderr, "VIEWQEX2: %s\n", fault.Text().c_str());
            status = 1;
        }
    }
    if (!kv::WritePdf(kv::PrintSet(all), QString::fromLocal8Bit(file),
                      QString::fromStdString(reports.front().DocumentTitle()))) {
        std::fprintf(stderr, "VIEWQEX2: %s に書き込めません\n", file);
        return 1;
    }
    return status;
}

int Usage() {
    std::fprintf(stderr, "usage: VIEWQEX2 /PDTOPEN [TK|TL] | VIEWQEX2 --pdf FILE [TK|TL]\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Qt's PDF writer takes and frees buffers of megabytes for every page it
    // writes. Kept in the heap instead of being mapped and given back each
    // time, they cost nothing after the first page: a report of several
    // hundred pages is written in two thirds of the time.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    if (argc >= 2 && std::strcmp(argv[1], "--pdf") == 0) {
        if (argc != 3 && argc != 4) return Usage();
        const auto set = argc == 4 ? kv::ReportSetNamed(argv[3]) : kv::ReportSet::All;
        if (!set) return Usage();
        // No window: a display is not needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return ExportPdf(argv[2], *set);
    }
    // A set word after /PDTOPEN keeps to that program's reports; any other
    // word is ignored, as the window was always started.
    kv::ReportSet set = kv::ReportSet::All;
    if (argc >= 3 && std::strcmp(argv[1], "/PDTOPEN") == 0)
        if (auto s = kv::ReportSetNamed(argv[2])) set = *s;
    kova::JapaneseDateFormats dates;  // the save dialog's date column
    QApplication app(argc, argv);
    dates.Done();
    kova::InstallQtJapanese(app);  // the print and save dialogs in Japanese
    kova::QtFileDialogs files;
    kova::QtMessages messages("VIEWQEX2");
    kv::ViewerWindow window(std::filesystem::current_path(), files, messages, nullptr, set);
    files.SetOwner(&window);
    messages.SetOwner(&window);
    window.show();
    return app.exec();
}
