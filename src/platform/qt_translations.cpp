#include "platform/qt_translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "engine/builtin_texts.h"

namespace devical::platform {

namespace {

// Qt's catalogue for a language file's code; empty where Qt's built-in English serves.
QString QtLanguageFor(const QString& languageCode) {
    if (languageCode == QLatin1String("FR") || languageCode == QLatin1String("BE")) return QStringLiteral("fr");
    if (languageCode == QLatin1String("GM")) return QStringLiteral("de");
    return {};
}

}  // namespace

void ShowHelp(const QCommandLineParser& parser) {
    QString help = parser.helpText();
    help.replace(QLatin1String("Displays help on commandline options."),
                 QString::fromStdString(engine::BuiltInText("HelpHelp")));
    help.replace(QLatin1String("Displays help including Qt specific options."),
                 QString::fromStdString(engine::BuiltInText("HelpHelpAll")));
    std::fputs(help.toLocal8Bit().constData(), stdout);
    std::exit(0);
}

void FollowInterfaceLanguage(const QString& languageCode) {
    static QTranslator* translator = nullptr;
    static QString loaded;
    const QString language = QtLanguageFor(languageCode);
    if (language == loaded && (translator || language.isEmpty())) return;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    loaded = language;
    if (language.isEmpty()) return;
    auto* next = new QTranslator;
    if (next->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(next);
        translator = next;
    } else {
        delete next;  // no catalogue installed: Qt's English stays
    }
}

}  // namespace devical::platform
