#include "platform/qt/translations_qt.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kova {

QStringList QtTranslationFolders() { return {QLibraryInfo::path(QLibraryInfo::TranslationsPath)}; }

bool InstallQtJapanese(QCoreApplication& app, const QStringList& folders) {
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLatin1String(kQtJapaneseCatalog), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

}  // namespace kova
