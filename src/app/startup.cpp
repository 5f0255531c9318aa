#include "app/startup.h"

#include <QApplication>
#include <QFileInfo>
#include <csignal>

#include "app/windows.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "storage/file_io.h"

namespace devical::app {

namespace {

bool ProgramFileExists(const QString& directory, const char* name) {
    return QFileInfo::exists(QString::fromStdString(storage::FindFileNoCase(directory.toStdString(), name).string()));
}

bool StartsHidden(int argc, char** argv) {
    return argc > 1 && (qstrcmp(argv[1], "/M") == 0 || qstrcmp(argv[1], "/m") == 0);
}

}  // namespace

QString MissingFileMessage(const QString& programDirectory) {
    if (!ProgramFileExists(programDirectory, "DEVICAL.LAN"))
        return QStringLiteral("This soft don't run without the file Devical.Lan ");
    if (!ProgramFileExists(programDirectory, "DEVICAL.INI"))
        return QStringLiteral("This soft don't run without the file Devical.Ini");
    return {};
}

int RunDevical(int argc, char** argv) {
    // A file size limit must give a write error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Devical"));
    QApplication::setQuitOnLastWindowClosed(false);  // closing the window only hides it

    const QString directory = platform::ProgramDirectory();
    platform::SingleInstance instance(directory);
    // Without a safe place for the guard the program still runs, only unguarded.
    if (instance.Claim() == platform::SingleInstance::Outcome::AnotherInstanceShown) return 0;

    if (const QString missing = MissingFileMessage(directory); !missing.isEmpty()) {
        platform::ShowMessage(nullptr, platform::MessageKind::Notice, missing);
        return 1;
    }

    DevicalWindows windows(directory);
    QObject::connect(&windows.Calc, &ui::TCalc::exitRequested, &application, [] { QCoreApplication::exit(0); });
    QObject::connect(&instance, &platform::SingleInstance::showRequested, &windows.Calc, &ui::TCalc::Devical1Click);

    if (!StartsHidden(argc, argv)) windows.Calc.Devical1Click();
    return QApplication::exec();
}

}  // namespace devical::app
