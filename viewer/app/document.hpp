#pragma once
// The reports of a folder laid out as pages, and their output: PDF, any
// paint device (printer), or an image for the screen.
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "viewer/reader/layout.hpp"

namespace kova::viewer {

struct LaidReport {
    std::unique_ptr<Report> report;  // stable address: the pages point into it
    std::vector<LaidPage> pages;
    std::string project;  // the project heading its pages, whole
    std::string Name() const { return report->page.name; }
    // The title of a document of this report: the project whole (a page
    // header may have shortened it) and the report's title.
    std::string DocumentTitle() const {
        return project.empty() ? report->page.title : project + "　" + report->page.title;
    }
};

// Reads and lays out a page file and its drawings; projectTitle heads its
// pages (its own project field when empty).
LaidReport LoadLaid(const std::filesystem::path& pageFile, const std::string& projectTitle = {});

// Reads and lays out a set of page files: each page headed by the project
// of the set's condition report, where the set has one.
std::vector<LaidReport> LoadSet(const std::vector<std::filesystem::path>& pageFiles);

// Pages to print with their place in the printed set.
struct PrintPage {
    const LaidPage* page = nullptr;
    SetPlace place;
};

// The pages of reports as one printed set, numbered through.
std::vector<PrintPage> PrintSet(const std::vector<const LaidReport*>& reports);

// Pages `from` to `to` (1-based, inclusive; 0 for no bound) of a set.
std::vector<PrintPage> PageRange(const std::vector<PrintPage>& pages, int from, int to);

// Paints pages onto a device set to A4, one page of the device per page,
// each scaled to the device's page. False when the device cannot be painted.
bool PaintPages(const std::vector<PrintPage>& pages, QPagedPaintDevice& device);

// Writes pages to a PDF file; false when it cannot be written.
bool WritePdf(const std::vector<PrintPage>& pages, const QString& file, const QString& title);

// One page painted onto a painter whose transform maps page units.
void PaintOne(QPainter& painter, const PrintPage& page);

// One page as an image `widthPx` pixels wide.
QImage RenderPage(const LaidPage& page, int widthPx);

}  // namespace kova::viewer
