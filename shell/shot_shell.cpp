// Renders the splash screen and the About box of both front ends to PNG
// files so that a person can check them: kova_shell_shots <folder> [version].
// Runs without a display (QT_QPA_PLATFORM=offscreen is set when unset).
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "platform/qt/shot_qt.hpp"
#include "shell/about.hpp"
#include "shell/splash.hpp"


int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [version]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    std::string version = argc > 2 ? argv[2] : "1.0.0";
    bool ok = true;
    for (const kova::ShellApp* app : {&kova::KovaApp(), &kova::TolmApp()}) {
        QString stem = kova::Q(app->title).toLower();
        kova::SplashScreen splash(*app, version);
        ok &= kova::SaveShot(splash.grab().toImage(), dir, stem + QStringLiteral("_splash.png"));
        kova::AboutBox about(*app, version);
        about.show();
        QApplication::processEvents();
        ok &= kova::SaveShot(kova::WithCaption(about.grab().toImage(), about.windowTitle()), dir,
                   stem + QStringLiteral("_about.png"));
        about.hide();
    }
    return ok ? 0 : 1;
}
