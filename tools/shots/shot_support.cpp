#include "tools/shots/shot_support.hpp"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

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

int RunShots(int& argc, char** argv, int minArgs, const char* args, const std::function<bool(const QDir& out)>& shots) {
    if (argc < minArgs) {
        std::fprintf(stderr, "usage: %s %s\n", argv[0], args);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    return shots(out) ? 0 : 1;
}

}  // namespace kova
