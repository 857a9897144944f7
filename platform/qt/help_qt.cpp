#include "platform/qt/help_qt.hpp"

#include <QDesktopServices>
#include <QUrl>

#include "platform/qt/qt_text.hpp"

namespace kova {

bool QtHelpViewer::Open(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QPath(file)));
}

}  // namespace kova
