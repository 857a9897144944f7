#pragma once
// The About box: the program's icon, title and version and a notice line.
#include <QDialog>
#include <string>

#include "shell/app_identity.hpp"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kova {

// The window caption: the application title followed by "のﾊﾞｰｼﾞｮﾝ情報".
std::string AboutCaption(const ShellApp& app);

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const ShellApp& app, const std::string& versionText, QWidget* owner = nullptr);

    QLabel* Icon() const { return icon_; }
    QLabel* Title() const { return title_; }
    QLabel* Platform() const { return platform_; }
    QLabel* Version() const { return version_; }
    QLineEdit* Notice() const { return notice_; }
    QPushButton* Ok() const { return ok_; }

private:
    QLabel* icon_;
    QLabel* title_;
    QLabel* platform_;
    QLabel* version_;
    QLineEdit* notice_;
    QPushButton* ok_;
};

// Shows the About box modal over its owner; returns when it is closed.
void ShowAbout(const ShellApp& app, const std::string& versionText, QWidget* owner);

}  // namespace kova
