#include "shell/form_geometry.hpp"

#include <QFontMetrics>

#include "platform/qt/screen_qt.hpp"

namespace kova {

void PlaceTwips(QWidget* w, const TwipsScale& s, int left, int top, int width, int height) {
    QRect r = TwipsRect(s, left, top, width, height);
    int need = QFontMetrics(w->font()).height();
    if (r.height() < need) {
        int grow = need - r.height();
        r.adjust(0, -grow / 2, 0, grow - grow / 2);
    }
    w->setGeometry(r);
}

}  // namespace kova
