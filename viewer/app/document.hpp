#pragma once
// The reports of a folder laid out as pages, and their output: PDF, any
// paint device (printer), or an image for the screen.
#include <QImage>
#include <QPagedPaintDevice>
#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "viewer/reader/layout.hpp"

namespace kova::viewer {

struct LaidReport {
    std::unique_ptr<Report> report;  // stable address: the pages point into it
    std::vector<LaidPage> pages;
    std::string Name() const { return report->page.name; }
};

// Reads and lays out a page file and its drawings.
LaidReport LoadLaid(const std::filesystem::path& pageFile);

// Paints pages onto a device set to A4, one page of the device per page,
// each scaled to the device's page. False when the device cannot be painted.
bool PaintPages(const std::vector<const LaidPage*>& pages, QPagedPaintDevice& device);

// Writes pages to a PDF file; false when it cannot be written.
bool WritePdf(const std::vector<const LaidPage*>& pages, const QString& file, const QString& title);

// One page as an image `widthPx` pixels wide.
QImage RenderPage(const LaidPage& page, int widthPx);

}  // namespace kova::viewer
