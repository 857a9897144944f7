#pragma once
// Qt's own Japanese texts for what Qt draws itself: the open and save
// dialogs, the standard buttons, the context menus of text boxes.
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace kova {

inline constexpr const char* kQtJapaneseCatalog = "qtbase_ja";

// Where Qt keeps its translations on this system.
QStringList QtTranslationFolders();

// Installs the first catalog "qtbase_ja" that loads from the folders, in
// order, owned by the application. False when none loads (not installed,
// unreadable): the program then runs on with Qt's English texts.
bool InstallQtJapanese(QCoreApplication& app, const QStringList& folders = QtTranslationFolders());

}  // namespace kova
