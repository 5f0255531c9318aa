// What every window test needs: a fresh program directory with the French language file
// and chosen settings, answers for the message boxes it expects (any other box fails the
// test), and keys typed at the window as a person would.
#pragma once

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/message_box.h"

namespace devical::testing {

// FRF at 6,55957, a tax rate of 20,6 and two decimals, with CR LF line ends.
inline const QByteArray kFrenchSettings =
    "[Dialog]\r\nLib_HT=Montant HT\r\nLib_TTC=Montant TTC\r\n\r\n[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n\r\n"
    "[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=0\r\n"
    "Euro=0\r\n\r\n[Calcul]\r\nNb_Dec=2\r\n\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

class TestProgramDirectory {
public:
    explicit TestProgramDirectory(const QByteArray& settings = kFrenchSettings) {
        QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/Devical.FR"), Path() + QStringLiteral("DEVICAL.LAN"));
        Write(QStringLiteral("DEVICAL.INI"), settings);
    }
    QString Path() const { return dir_.path() + QLatin1Char('/'); }
    QByteArray Read(const QString& name) const {
        QFile file(Path() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path() + name);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
    // The settings file's value of key in section, as the file holds it.
    QByteArray Setting(const QByteArray& section, const QByteArray& key) const {
        const QList<QByteArray> lines = Read(QStringLiteral("DEVICAL.INI")).split('\n');
        bool inSection = false;
        for (QByteArray line : lines) {
            if (line.endsWith('\r')) line.chop(1);
            if (line.startsWith('['))
                inSection = line == "[" + section + "]";
            else if (inSection && line.startsWith(key + "="))
                return line.mid(key.size() + 1);
        }
        return {};
    }

private:
    QTemporaryDir dir_;
};

// Also the watchdog of modal dialogs: one the test did not say it opens would wait for a
// person for ever; it is noted among the unexpected boxes and closed.
class MessageRecorder : public QObject {
public:
    MessageRecorder() {
        platform::SetMessageHandler([this](platform::MessageKind, const QString& text) {
            shown.append(text);
            if (expected.isEmpty() || expected.first().first != text) {
                unexpected.append(text);
                return platform::MessageAnswer::Ok;
            }
            return expected.takeFirst().second;
        });
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~MessageRecorder() override { platform::SetMessageHandler({}); }
    void Expect(const QString& text, platform::MessageAnswer answer = platform::MessageAnswer::Ok) {
        expected.append({text, answer});
    }
    // A modal dialog the test answers itself, known by its object name.
    void ExpectDialog(const QString& objectName) { expectedDialogs.append(objectName); }
    // Empty when every box shown was expected, in order, and every expected box came.
    QString Problems() const {
        QString problems;
        for (const QString& text : unexpected)
            problems += QStringLiteral("unexpected box: ") + text + QLatin1Char('\n');
        for (const auto& pending : expected)
            problems += QStringLiteral("box never shown: ") + pending.first + QLatin1Char('\n');
        return problems;
    }

    QStringList shown;
    QStringList unexpected;
    QList<QPair<QString, platform::MessageAnswer>> expected;
    QStringList expectedDialogs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog->isModal() &&
            !expectedDialogs.removeOne(dialog->objectName())) {
            unexpected.append(
                QStringLiteral("modal dialog %1 \"%2\"").arg(dialog->objectName(), dialog->windowTitle()));
            QTimer::singleShot(0, dialog, &QDialog::reject);
        }
        return false;
    }
};

// Characters typed at a window, each as a key press that the window sees first.
inline void TypeAt(QWindow* window, const QString& keys) {
    for (QChar key : keys)
        QTest::keyClick(window, key.toLatin1());
}

// The colour most of a picture's opaque pixels have: its strokes, not its washes.
inline QColor Ink(const QIcon& icon, QSize size) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    QHash<QRgb, int> counts;
    for (int i = 0; i < image.width() * image.height(); ++i)
        if (const QRgb pixel = image.pixel(i % image.width(), i / image.width()); qAlpha(pixel) >= 128) ++counts[pixel];
    const auto most = std::max_element(counts.cbegin(), counts.cend());
    return most == counts.cend() ? QColor() : QColor::fromRgb(most.key());
}

inline void UseLocale(QLocale::Language language, QLocale::Territory territory) {
    QLocale::setDefault(QLocale(language, territory));
}

}  // namespace devical::testing
