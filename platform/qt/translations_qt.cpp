#include "platform/qt/translations_qt.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>
#include <cstring>

namespace kova {

namespace {

// Consulted before the catalog (the last translator installed is asked
// first); an empty answer leaves the text to the catalog.
class Supplement : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        return QtJapaneseSupplement(context, sourceText);
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

QString QtJapaneseSupplement(const char* context, const char* sourceText) {
    static constexpr struct {
        const char* context;
        const char* source;
        const char* japanese;
    } kTexts[] = {
        {"QPrintSettingsOutput", "Pages", "ページ指定"},
        {"QPrintSettingsOutput", "Double Sided Printing", "両面印刷"},
        {"QPrintSettingsOutput", "Off", "なし"},
        {"QPrintSettingsOutput", "Long side binding", "長辺綴じ"},
        {"QPrintSettingsOutput", "Short side binding", "短辺綴じ"},
        {"QPrintSettingsOutput",
         "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
         "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
         "ページまたは範囲をカンマで区切って指定します。範囲は2つの数をハイフンでつなぎます。"
         "例: 3,5-7,9 は 3、5、6、7、9 ページを印刷します。"},
    };
    if (!context || !sourceText) return {};
    for (const auto& t : kTexts)
        if (std::strcmp(context, t.context) == 0 && std::strcmp(sourceText, t.source) == 0)
            return QString::fromUtf8(t.japanese);
    return {};
}

JapaneseDateFormats::JapaneseDateFormats() : had_(qEnvironmentVariableIsSet("LC_TIME")), old_(qgetenv("LC_TIME")) {
    qputenv("LC_TIME", "ja_JP.UTF-8");
}

void JapaneseDateFormats::Done() {
    if (done_) return;
    done_ = true;
    if (had_) qputenv("LC_TIME", old_);
    else qunsetenv("LC_TIME");
    // The application set the C library's locale from the environment of
    // that moment, where a Japanese locale may not exist.
    std::setlocale(LC_ALL, "");
}

QStringList QtTranslationFolders() { return {QLibraryInfo::path(QLibraryInfo::TranslationsPath)}; }

bool InstallQtJapanese(QCoreApplication& app, const QStringList& folders) {
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLatin1String(kQtJapaneseCatalog), folder) &&
            QCoreApplication::installTranslator(translator)) {
            QCoreApplication::installTranslator(new Supplement(&app));
            return true;
        }
        delete translator;
    }
    return false;
}

}  // namespace kova
