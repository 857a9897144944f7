#pragma once
// Qt's own Japanese texts for what Qt draws itself: the open and save
// dialogs, the standard buttons, the context menus of text boxes.
#include <QByteArray>
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace kova {

inline constexpr const char* kQtJapaneseCatalog = "qtbase_ja";

// Where Qt keeps its translations on this system.
QStringList QtTranslationFolders();

// Installs the first catalog "qtbase_ja" that loads from the folders, in
// order, owned by the application, and above it the few texts of the print
// dialog the catalog leaves English ("Pages", the two-sided options). False
// when no catalog loads (not installed, unreadable): the program then runs
// on with Qt's English texts.
bool InstallQtJapanese(QCoreApplication& app, const QStringList& folders = QtTranslationFolders());

// The Japanese text of a Qt text the catalog leaves English, or an empty
// string.
QString QtJapaneseSupplement(const char* context, const char* sourceText);

// Qt reads the date formats of its system locale (the date column of the
// file dialogs) from the environment when the application is made: made
// before it, this gives that moment Japanese dates (LC_TIME, unless LC_ALL
// rules), and Done(), right after, puts back the environment and the C
// library's locale as they were.
class JapaneseDateFormats {
public:
    JapaneseDateFormats();
    ~JapaneseDateFormats() { Done(); }
    JapaneseDateFormats(const JapaneseDateFormats&) = delete;
    JapaneseDateFormats& operator=(const JapaneseDateFormats&) = delete;
    void Done();

private:
    bool had_ = false, done_ = false;
    QByteArray old_;
};

}  // namespace kova
