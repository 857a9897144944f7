#include "platform/qt/shot_qt.hpp"

#include <QColor>
#include <QCoreApplication>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "platform/qt/screen_qt.hpp"

namespace kova {

QImage WithCaption(const QImage& client, const QString& caption) {
    const int bar = 24;
    QImage out(client.width() + 2, client.height() + bar + 1, QImage::Format_RGB888);
    out.fill(QColor(64, 64, 64));
    QPainter p(&out);
    p.fillRect(QRect(1, 1, client.width(), bar - 1), QColor(0, 60, 140));
    p.setPen(Qt::white);
    p.setFont(FormFont("ＭＳ Ｐゴシック", 9));
    p.drawText(QRect(8, 1, client.width() - 8, bar - 1), Qt::AlignVCenter | Qt::AlignLeft, caption);
    p.drawImage(1, bar, client);
    return out;
}

bool SaveShot(const QImage& img, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    const bool ok = img.save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}

bool SaveWindowShot(QWidget& w, const QDir& dir, const QString& name) {
    w.show();
    QCoreApplication::processEvents();
    return SaveShot(WithCaption(w.grab().toImage(), w.windowTitle()), dir, name);
}

}  // namespace kova
