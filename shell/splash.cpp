#include "shell/splash.hpp"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "shell/form_geometry.hpp"
#include "shell/pictures.hpp"

namespace kova {

std::string VersionLabel(const std::string& versionText) { return "ﾊﾞｰｼﾞｮﾝ " + versionText; }

namespace {

QLabel* WhiteLabel(QWidget* parent, const char* name, const QFont& font) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}

}  // namespace

SplashScreen::SplashScreen(const ShellApp& app, const std::string& versionText, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(SplashPicture(app)) {
    setObjectName(QStringLiteral("frmSplash"));
    TwipsScale s = ScreenTwips(this);
    setFixedSize(s.ToPixelsX(4800), s.ToPixelsY(3000));

    name_ = WhiteLabel(this, "lblProductName", FormFont("ＭＳ Ｐゴシック", 18, true, true));
    name_->setText(Q(app.title));
    PlaceTwips(name_, s, app.splashNameLeft, 810, app.splashNameWidth, 360);

    version_ = WhiteLabel(this, "lblVersion", FormFont("ＭＳ Ｐゴシック", 12, true));
    version_->setText(Q(VersionLabel(versionText)));
    PlaceTwips(version_, s, 3000, 1665, 1545, 240);
}

void SplashScreen::ShowNow() {
    if (QScreen* scr = screen()) {
        QRect avail = scr->geometry();
        move(avail.x() + (avail.width() - width()) / 2, avail.y() + (avail.height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();  // so that a key press reaches it
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), picture_);
}

void SplashScreen::keyPressEvent(QKeyEvent*) { close(); }

}  // namespace kova
