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
#include "tools/shots/shot_support.hpp"
#include "shell/about.hpp"
#include "shell/splash.hpp"


int main(int argc, char** argv) {
    const std::string version = argc > 2 ? argv[2] : "1.0.0";
    return kova::RunShots(argc, argv, 2, "<folder> [version]", [&](const QDir& dir) {
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
    return ok;
    });
}
