#include "shell/about.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/fixed_dialog_qt.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "shell/form_geometry.hpp"
#include "shell/pictures.hpp"
#include "shell/splash.hpp"

namespace kova {

std::string AboutCaption(const ShellApp& app) { return app.title + "のﾊﾞｰｼﾞｮﾝ情報"; }

namespace {

QLabel* TextLabel(QWidget* parent, const char* name, const QFont& font, const QString& text) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    l->setText(text);
    return l;
}

}  // namespace

AboutBox::AboutBox(const ShellApp& app, const std::string& versionText, QWidget* owner)
    : QDialog(owner) {
    MakeFixedDialog(this);
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(Q(AboutCaption(app)));
    setWindowIcon(AppIcon(app));
    TwipsScale s = ScreenTwips(this);
    setFixedSize(s.ToPixelsX(4815), s.ToPixelsY(2655));

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("picIcon"));
    icon_->setPixmap(AppIconPixmap(app));
    icon_->setAlignment(Qt::AlignCenter);
    icon_->setGeometry(TwipsRect(s, 240, 180, 540, 540));

    title_ = TextLabel(this, "lblTitle0", FormFont("ＭＳ Ｐゴシック", 11.25, true), Q(app.title));
    PlaceTwips(title_, s, 1500, 360, app.aboutTitleWidth, 225);

    platform_ = TextLabel(this, "lblTitle1", FormFont("Impact", 11.25), QStringLiteral("for Windows"));
    PlaceTwips(platform_, s, 2040, 660, 1305, 285);

    version_ = TextLabel(this, "lblVersion", FormFont("ＭＳ ゴシック", 9.75), Q(VersionLabel(versionText)));
    PlaceTwips(version_, s, 780, 1050, 3225, 225);

    notice_ = new QLineEdit(this);
    notice_->setObjectName(QStringLiteral("Text1"));
    notice_->setFont(FormFont("ＭＳ Ｐゴシック", 11.25));
    notice_->setText(Q(app.notice));
    notice_->setReadOnly(true);
    notice_->setFocusPolicy(Qt::NoFocus);
    notice_->setTextMargins(0, 0, 0, 0);
    PlaceTwips(notice_, s, 300, 1800, 4275, 270);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);  // Enter answers OK; Esc closes the dialog too
    ok_->setGeometry(TwipsRect(s, 2760, 2160, 1310, 405));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    ok_->setFocus();
}

void ShowAbout(const ShellApp& app, const std::string& versionText, QWidget* owner) {
    AboutBox box(app, versionText, owner);
    box.exec();
}

}  // namespace kova
