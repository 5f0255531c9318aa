#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/windows.h"
#include "engine/builtin_texts.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/qt_translations.h"
#include "platform/single_instance.h"
#include "platform/start_warm_up.h"
#include "storage/file_io.h"
#include "storage/instance_lock.h"
#include "storage/language_file.h"
#include "storage/language_set.h"
#include "storage/program_directory.h"

namespace devical::app {

namespace {

bool ProgramFileExists(const QString& directory, const char* name) {
    return QFileInfo::exists(QString::fromStdString(storage::FindFileNoCase(directory.toStdString(), name).string()));
}

// One name for the desktop entry, the metainfo, the icon and the running program.
const char* const kDesktopId = "org.devical.Devical";

// The options of --help; the toolkit's own are left out of it.
QCommandLineOption DescribeOptions(QCommandLineParser& parser) {
    // "-platform" is one option, not -p -l -a -t -f -o -r -m.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    auto text = [](const char* key) { return QString::fromStdString(engine::BuiltInText(key)); };
    parser.setApplicationDescription(text("DevicalHelp"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption minimized({QStringLiteral("m"), QStringLiteral("minimized")},
                                       text("DevicalHelpMinimized"));
    parser.addOption(minimized);
    parser.addPositionalArgument(QStringLiteral("/M"), text("DevicalHelpSlashM"), QStringLiteral("[/M]"));
    return minimized;
}

// Beside the executable or the user's own; the application is made.
storage::ProgramDirectoryPlan PlannedDirectory() {
    return storage::PlanProgramDirectoryFor(platform::ExecutableDirectory().toStdString(), std::getenv("XDG_DATA_HOME"),
                                            QDir::homePath().toStdString());
}

// --help and --version answer on stdout and end the program.
[[noreturn]] void Answer(StartOptions::Answer answer, int argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devical"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DEVICAL_VERSION));
    // In the language of the set installed where the program would work, or the locale's.
    const std::string language = storage::SpokenLanguageIn(PlannedDirectory().directory);
    engine::SetBuiltInLanguage(language);
    platform::FollowInterfaceLanguage(QString::fromStdString(language));
    QCommandLineParser parser;
    DescribeOptions(parser);
    if (answer == StartOptions::Answer::Version) parser.showVersion();
    platform::ShowHelp(parser);
}

// Beside the executable (portable) or the user's own directory, seeded on the way; empty
// once the reason it cannot be prepared has been shown.
QString PreparedDirectory(const storage::ProgramDirectoryPlan& plan) {
    const QString directory = QString::fromStdString(plan.directory.string());
    try {
        storage::PrepareProgramDirectory(plan, storage::LocaleLanguageCode());
        return directory;
    } catch (const storage::FileError& error) {
        platform::ShowMessage(nullptr, platform::MessageKind::Error,
                              QString::fromStdString(engine::BuiltInText("CannotPrepare", {plan.directory.string()}) +
                                                     "\n" + error.what()));
        return {};
    }
}

// The program directory for this process alone; false once the user has been told which
// process holds it.
bool ClaimDirectory(std::unique_ptr<storage::InstanceLock>& lock, const std::filesystem::path& directory) {
    lock = std::make_unique<storage::InstanceLock>(directory);
    switch (lock->Result()) {
    case storage::InstanceLock::State::Held: return true;
    case storage::InstanceLock::State::Unguarded:
        std::fprintf(stderr, "devical: %s\n", engine::BuiltInText("NoInstanceLock", {lock->Problem()}).c_str());
        return true;
    case storage::InstanceLock::State::HeldByOther: break;
    }
    const std::string holder = lock->Holder().empty() ? std::string("?") : lock->Holder();
    const std::string message = engine::BuiltInText("DirectoryInUse", {directory.string(), holder});
    std::fprintf(stderr, "devical: %s\n", message.c_str());
    platform::ShowMessage(nullptr, platform::MessageKind::Error, QString::fromStdString(message));
    return false;
}

}  // namespace

StartOptions ReadStartOptions(const QStringList& arguments) {
    StartOptions options;
    options.startHidden =
        arguments.size() > 1 && (arguments[1] == QLatin1String("/M") || arguments[1] == QLatin1String("/m"));
    QCommandLineParser parser;
    const QCommandLineOption minimized = DescribeOptions(parser);
    parser.parse(arguments);  // false for an unknown option, the known ones still read
    options.unknown = parser.unknownOptionNames();
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        options.answer = StartOptions::Answer::Help;
    else if (parser.isSet(QStringLiteral("version")))
        options.answer = StartOptions::Answer::Version;
    options.startHidden = options.startHidden || parser.isSet(minimized);
    return options;
}

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
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = ReadStartOptions(arguments);
    if (options.answer != StartOptions::Answer::None) Answer(options.answer, argc, argv);
    // Begun before the claim below, to run while the toolkit starts up: a start that hands
    // over waits for them at its end, after its request is sent.
    const std::jthread busWarmUp = platform::BeginSessionBusWarmUp();
    const std::jthread fontconfigWarmUp = platform::BeginFontconfigWarmUp();
    QApplication application(argc, argv);
    // Until the installed set is read, what the program says is in the user's language.
    engine::SetBuiltInLanguage(storage::LocaleLanguageCode());
    QApplication::setApplicationName(QStringLiteral("Devical"));
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopId));
    QApplication::setQuitOnLastWindowClosed(false);  // closing the window only hides it
    // The toolkit has taken its own options out by now: what is left unknown is said, not obeyed.
    for (const QString& name : ReadStartOptions(QCoreApplication::arguments()).unknown)
        std::fprintf(stderr, "devical: %s\n",
                     engine::BuiltInText("UnknownOption", {name.toLocal8Bit().toStdString()}).c_str());

    const storage::ProgramDirectoryPlan plan = PlannedDirectory();
    platform::SingleInstance instance(QString::fromStdString(plan.directory.string()));
    // Without a safe place for the guard, or past a hung instance, the program still
    // runs, and says why on stderr.
    if (instance.Claim() == platform::SingleInstance::Outcome::AnotherInstanceShown) return 0;
    if (const QString notice = instance.Notice(); !notice.isEmpty())
        std::fprintf(stderr, "devical: %s\n", notice.toLocal8Bit().constData());

    // Whatever path, mount or session reached it, one window works on a program directory: a
    // second one that cannot hand over ends here, having written nothing.
    std::unique_ptr<storage::InstanceLock> directoryLock;
    std::error_code noDirectory;
    if (std::filesystem::is_directory(plan.directory, noDirectory) && !ClaimDirectory(directoryLock, plan.directory))
        return 1;
    const QString directory = PreparedDirectory(plan);  // one instance at a time seeds it
    if (directory.isEmpty()) return 1;
    if (!directoryLock && !ClaimDirectory(directoryLock, plan.directory)) return 1;

    if (const QString missing = MissingFileMessage(directory); !missing.isEmpty()) {
        platform::ShowMessage(nullptr, platform::MessageKind::Notice, missing);
        return 1;
    }

    DevicalWindows windows(directory);
    QObject::connect(&windows.Calc, &ui::TCalc::exitRequested, &application, [] { QCoreApplication::exit(0); });
    QObject::connect(&instance, &platform::SingleInstance::showRequested, &windows.Calc, &ui::TCalc::Devical1Click);

    if (options.startHidden) {
        windows.Calc.StartHidden();
    } else {
        windows.Calc.Devical1Click();
    }
    QTimer::singleShot(0, &windows.Calc, [&windows] { windows.UpdateRatesIfDue(); });
    return QApplication::exec();
}

}  // namespace devical::app
