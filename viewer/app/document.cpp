#include "viewer/app/document.hpp"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "viewer/app/painter_picture.hpp"

namespace kova::viewer {

LaidReport LoadLaid(const std::filesystem::path& pageFile) {
    LaidReport r;
    r.report = std::make_unique<Report>(LoadReport(pageFile));
    r.pages = LayOut(*r.report);
    return r;
}

bool PaintPages(const std::vector<const LaidPage*>& pages, QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    bool first = true;
    for (const LaidPage* page : pages) {
        if (!first && !device.newPage()) return false;
        first = false;
        painter.save();
        const double sx = device.width() / kPageWidth;
        const double sy = device.height() / kPageHeight;
        const double s = std::min(sx, sy);
        painter.scale(s, s);
        PainterPicture picture(painter, kPageWidth, kPageHeight);
        PaintPage(*page, picture);
        painter.restore();
    }
    return painter.end();
}

bool WritePdf(const std::vector<const LaidPage*>& pages, const QString& file, const QString& title) {
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
    PainterPicture picture(painter, kPageWidth, kPageHeight);
    PaintPage(page, picture);
    painter.end();
    return image;
}

}  // namespace kova::viewer
