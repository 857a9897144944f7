// Writes the program icons of KOVACALC and TOLMPRED for the desktop's icon
// theme: make_icons <folder> <size>... gives <folder>/<size>x<size>/apps/
// kovacalc.png and tolmpred.png, the window icon's picture at each size.
#include <QGuiApplication>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <string>

#include "shell/app_identity.hpp"
#include "shell/pictures.hpp"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icons FOLDER SIZE...\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::stoi(argv[i]);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "make_icons: cannot create %s\n", qPrintable(dir));
            return 1;
        }
        const struct {
            const kova::ShellApp& app;
            const char* name;
        } icons[] = {{kova::KovaApp(), "kovacalc"}, {kova::TolmApp(), "tolmpred"}};
        for (const auto& icon : icons) {
            const QString file = QStringLiteral("%1/%2.png").arg(dir, QLatin1String(icon.name));
            if (!kova::AppIconImage(icon.app, size).save(file, "PNG")) {
                std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
