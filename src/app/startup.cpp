#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/windows.h"
#include "engine/builtin_texts.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "platform/start_warm_up.h"
#include "storage/file_io.h"
#include "storage/language_set.h"
#include "storage/program_directory.h"

namespace devical::app {

namespace {

bool ProgramFileExists(const QString& directory, const char* name) {
    return QFileInfo::exists(QString::fromStdString(storage::FindFileNoCase(directory.toStdString(), name).string()));
}

// One name for the desktop entry, the metainfo, the icon and the running program.
const char* const kDesktopId = "org.devical.Devical";

struct CommandLine {
    bool startHidden = false;
};

// --help and --version answer and end the program, as does an unknown option; -m and
// --minimized start it hidden in the tray (minimised without one), as /M and /m do in the first place. The usual start
// has no option and makes no parser.
CommandLine ReadCommandLine(int argc, char** argv) {
    CommandLine line;
    line.startHidden = argc > 1 && (qstrcmp(argv[1], "/M") == 0 || qstrcmp(argv[1], "/m") == 0);  // first only
    bool options = false;
    for (int i = 1; i < argc; ++i)
        options = options || argv[i][0] == '-';
    if (!options) return line;
    int count = argc;
    QCoreApplication core(count, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devical"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DEVICAL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Euro converter calculator: net, tax and gross amounts in a national currency and in euros."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption minimized({QStringLiteral("m"), QStringLiteral("minimized")},
                                       QStringLiteral("Start hidden in the tray (also /M)."));
    parser.addOption(minimized);
    parser.addPositionalArgument(QStringLiteral("/M"), QStringLiteral("Start hidden in the tray."),
                                 QStringLiteral("[/M]"));
    parser.process(core);
    line.startHidden = line.startHidden || parser.isSet(minimized);
    return line;
}

// Beside the executable (portable) or the user's own directory, seeded on the way; empty
// once the reason it cannot be prepared has been shown.
QString PreparedDirectory(const storage::ProgramDirectoryPlan& plan) {
    const QString directory = QString::fromStdString(plan.directory.string());
    try {
        storage::PrepareProgramDirectory(plan);
        return directory;
    } catch (const storage::FileError& error) {
        platform::ShowMessage(nullptr, platform::MessageKind::Error,
                              QString::fromStdString(engine::BuiltInText("CannotPrepare", {plan.directory.string()}) +
                                                     "\n" + error.what()));
        return {};
    }
}

}  // namespace

QString MissingFileMessage(const QString& programDirectory) {
    if (!ProgramFileExists(programDirectory, "DEVICAL.LAN"))
        return QString::fromStdString(engine::BuiltInText("NoLanguageFile"));
    if (!ProgramFileExists(programDirectory, "DEVICAL.INI"))
        return QString::fromStdString(engine::BuiltInText("NoSettingsFile"));
    return {};
}

int RunDevical(int argc, char** argv) {
    // A file size limit must give a write error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLine commandLine = ReadCommandLine(argc, argv);
    // Begun before the claim below, to run while the toolkit starts up: a start that hands
    // over waits for them at its end, after its request is sent.
    const std::jthread busWarmUp = platform::BeginSessionBusWarmUp();
    const std::jthread fontconfigWarmUp = platform::BeginFontconfigWarmUp();
    QApplication application(argc, argv);
    // Until the installed set is read, what the program says is in the user's language.
    engine::SetBuiltInLanguage(storage::LanguageCodeForLocale(platform::UserLocaleName().toStdString()));
    QApplication::setApplicationName(QStringLiteral("Devical"));
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopId));
    QApplication::setQuitOnLastWindowClosed(false);  // closing the window only hides it

    const storage::ProgramDirectoryPlan plan = storage::PlanProgramDirectory(
        platform::ExecutableDirectory().toStdString(),
        storage::UserDataDirectory(std::getenv("XDG_DATA_HOME"), QDir::homePath().toStdString()),
        platform::ShippedDataDirectory().toStdString());
    platform::SingleInstance instance(QString::fromStdString(plan.directory.string()));
    // Without a safe place for the guard, or past a hung instance, the program still
    // runs, and says why on stderr.
    if (instance.Claim() == platform::SingleInstance::Outcome::AnotherInstanceShown) return 0;
    if (const QString notice = instance.Notice(); !notice.isEmpty())
        std::fprintf(stderr, "devical: %s\n", notice.toLocal8Bit().constData());

    const QString directory = PreparedDirectory(plan);  // one instance at a time seeds it
    if (directory.isEmpty()) return 1;

    if (const QString missing = MissingFileMessage(directory); !missing.isEmpty()) {
        platform::ShowMessage(nullptr, platform::MessageKind::Notice, missing);
        return 1;
    }

    DevicalWindows windows(directory);
    QObject::connect(&windows.Calc, &ui::TCalc::exitRequested, &application, [] { QCoreApplication::exit(0); });
    QObject::connect(&instance, &platform::SingleInstance::showRequested, &windows.Calc, &ui::TCalc::Devical1Click);

    if (commandLine.startHidden) {
        windows.Calc.StartHidden();
    } else {
        windows.Calc.Devical1Click();
    }
    return QApplication::exec();
}

}  // namespace devical::app
