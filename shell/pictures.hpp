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
QIcon AppIcon(const ShellApp& app);

}  // namespace kova
