#pragma once
// The splash picture (320 x 200, 24-bit colour) and the 32 x 32 program
// icon of each front end, drawn rather than stored as files.
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "shell/app_identity.hpp"

namespace kova {

QImage SplashPicture(const ShellApp& app);
QPixmap AppIconPixmap(const ShellApp& app);
// The program icon drawn at size x size pixels (32: the window's icon), for
// the desktop's icon themes.
QImage AppIconImage(const ShellApp& app, int size);
QIcon AppIcon(const ShellApp& app);

}  // namespace kova
