#include "viewer/app/document.hpp"

#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/qt/picture_qt.hpp"

namespace kova::viewer {

LaidReport LoadLaid(const std::filesystem::path& pageFile, const std::string& projectTitle) {
    LaidReport r;
    r.report = std::make_unique<Report>(LoadReport(pageFile));
    r.pages = LayOut(*r.report, projectTitle);
    r.project = projectTitle.empty() ? ProjectTitleOf(*r.report) : projectTitle;
    return r;
}

std::vector<LaidReport> LoadSet(const std::vector<std::filesystem::path>& pageFiles) {
    // The project comes from the condition report, read first; the others
    // are read and laid out side by side (each on its own: no shared state).
    std::string project;
    for (const auto& f : pageFiles)
        if (f.filename() == "TK_DATA.PDT") project = ProjectTitleOf(LoadReport(f));
    std::vector<LaidReport> out(pageFiles.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < pageFiles.size();) {
            LaidReport& l = out[i];
            l.report = std::make_unique<Report>(LoadReport(pageFiles[i]));
            // The prediction's reports carry their own project title.
            const bool own = l.report->page.name.rfind("TL_PRD", 0) == 0;
            l.pages = LayOut(*l.report, own ? std::string() : project);
            l.project = own || project.empty() ? ProjectTitleOf(*l.report) : project;
        }
    };
    const unsigned n = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < n && t < pageFiles.size(); ++t) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    return out;
}

std::vector<PrintPage> PrintSet(const std::vector<const LaidReport*>& reports) {
    std::vector<PrintPage> out;
    for (const LaidReport* r : reports)
        for (const LaidPage& p : r->pages) out.push_back({&p, {}});
    const int n = static_cast<int>(out.size());
    for (int i = 0; i < n; ++i) out[static_cast<std::size_t>(i)].place = {i + 1, n};
    return out;
}

std::vector<PrintPage> PageRange(const std::vector<PrintPage>& pages, int from, int to) {
    const int n = static_cast<int>(pages.size());
    const int a = std::max(1, from), b = to <= 0 ? n : std::min(n, to);
    if (a > b) return {};
    return std::vector<PrintPage>(pages.begin() + (a - 1), pages.begin() + b);
}

void PaintOne(QPainter& painter, const PrintPage& page) {
    QtPicture picture(painter, kPageWidth, kPageHeight, QtPicture::Surface::Page);
    PaintPage(*page.page, picture, page.place);
}

bool PaintPages(const std::vector<PrintPage>& pages, QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    bool first = true;
    for (const PrintPage& page : pages) {
        if (!first && !device.newPage()) return false;
        first = false;
        painter.save();
        const double sx = device.width() / kPageWidth;
        const double sy = device.height() / kPageHeight;
        const double s = std::min(sx, sy);
        painter.scale(s, s);
        PaintOne(painter, page);
        painter.restore();
    }
    return painter.end();
}

bool WritePdf(const std::vector<PrintPage>& pages, const QString& file, const QString& title) {
    {
        QPdfWriter writer(file);
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("VIEWQEX2"));
        if (!PaintPages(pages, writer)) return false;
    }
    // QPdfWriter reports no write failure of its own.
    QFile out(file);
    return out.exists() && out.size() > 0;
}

QImage RenderPage(const LaidPage& page, int widthPx) {
    const int heightPx = static_cast<int>(widthPx * kPageHeight / kPageWidth + 0.5);
    QImage image(widthPx, heightPx, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const double s = widthPx / kPageWidth;
    painter.scale(s, s);
    PaintOne(painter, {&page, {}});
    painter.end();
    return image;
}

}  // namespace kova::viewer
