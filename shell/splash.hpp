#pragma once
// The splash screen: the program's picture with its title and version,
// shown while the main window starts.
#include <QImage>
#include <QWidget>
#include <string>

#include "shell/app_identity.hpp"

class QLabel;

namespace kova {

// "ﾊﾞｰｼﾞｮﾝ " followed by the version text (one blank).
std::string VersionLabel(const std::string& versionText);

class SplashScreen : public QWidget {
    Q_OBJECT
public:
    SplashScreen(const ShellApp& app, const std::string& versionText, QWidget* parent = nullptr);

    // Shows it centred on the screen, without waiting, and paints it at once.
    void ShowNow();

    QLabel* ProductName() const { return name_; }
    QLabel* Version() const { return version_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;  // any key closes it

private:
    QImage picture_;
    QLabel* name_;
    QLabel* version_;
};

}  // namespace kova
