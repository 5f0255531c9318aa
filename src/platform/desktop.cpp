#include "platform/desktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QUrl>

namespace devical::platform {

QString ProgramDirectory() {
    const QString directory = QCoreApplication::applicationDirPath();
    return directory.isEmpty() ? QString() : directory + QLatin1Char('/');
}

char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point == QLatin1String(",") ? ',' : '.';
}

QString PreselectedLanguage() {
    const QString name = QLocale().name();  // language_TERRITORY
    if (name == QLatin1String("fr_BE")) return QStringLiteral("BE");
    if (name == QLatin1String("en_US") || name == QLatin1String("en_GB")) return QStringLiteral("AN");
    if (name == QLatin1String("de_DE") || name == QLatin1String("de_CH")) return QStringLiteral("GM");
    return QStringLiteral("FR");
}

void SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

void OpenDocument(const QString& path) {
    if (QFileInfo::exists(path)) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void OpenLink(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace devical::platform
