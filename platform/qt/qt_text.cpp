#include "platform/qt/qt_text.hpp"

namespace kova {

QString DisplayText(std::string_view s) {
    QString t = Q(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString LiteralCaption(std::string_view s) {
    QString t = Q(s);
    t.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return t;
}

}  // namespace kova
