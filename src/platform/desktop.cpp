#include "platform/desktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QUrl>

namespace devical::platform {

QString ExecutableDirectory() {
    const QString directory = QCoreApplication::applicationDirPath();
    return directory.isEmpty() ? QString() : directory + QLatin1Char('/');
}

char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point == QLatin1String(",") ? ',' : '.';
}

void SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

bool OpenDocument(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return true;
}

void OpenLink(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace devical::platform
