#include "ui/tape/print_job.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

namespace devical::ui {

namespace {

// Beside the program as built, or in the library folder of an installed one (a plain string:
// the install's check finds it in the program).
constexpr char kInstalledModule[] = "/" DEVICAL_PRINT_MODULE_DIR "/devical_print.so";

QStringList ModulePlaces() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    return {programDirectory + QStringLiteral("/devical_print.so"),
            programDirectory + QString::fromUtf8(kInstalledModule)};
}

PrintEntry LoadEntry(QString& error) {
    for (const QString& place : ModulePlaces()) {
        QLibrary module(place);  // stays loaded for the rest of the run
        if (auto entry = reinterpret_cast<PrintEntry>(module.resolve(kPrintEntry))) return entry;
        // The reason that counts is the one of a module that is there and would not load.
        if (error.isEmpty() || QFile::exists(place)) error = module.errorString();
    }
    return nullptr;
}

}  // namespace

PrintOutcome PrintWithDialog(const PrintJob& job, QString& error) {
    static PrintEntry entry = nullptr;
    if (!entry) entry = LoadEntry(error);
    return entry ? entry(job) : PrintOutcome::Failed;
}

}  // namespace devical::ui
