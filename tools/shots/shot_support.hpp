#pragma once
// Shared by the programs that render windows to PNG files for a person to
// look at: the offscreen platform draws no window frame, so the caption is
// added as a title strip that can be read too.
#include <QDir>
#include <QImage>
#include <QString>
#include <functional>

class QWidget;

namespace kova {

// The client image under a title strip holding the caption.
QImage WithCaption(const QImage& client, const QString& caption);

// Writes the image as dir/name in PNG and prints "wrote PATH" or
// "FAILED PATH"; false when it could not be written.
bool SaveShot(const QImage& img, const QDir& dir, const QString& name);

// Shows the window, lets it lay out and paint, and saves it with its caption.
bool SaveWindowShot(QWidget& w, const QDir& dir, const QString& name);

// The main of a screenshot program "PROGRAM <folder> ARGS": fewer than
// minArgs arguments print the usage and return 2; the offscreen platform
// unless another is set; the folder is created and handed to shots. Returns
// 0 when shots wrote every picture, 1 otherwise.
int RunShots(int& argc, char** argv, int minArgs, const char* args, const std::function<bool(const QDir& out)>& shots);

}  // namespace kova
