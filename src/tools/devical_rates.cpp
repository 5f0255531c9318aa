// devical-rates: the currency list brought up to the ECB's euro reference rates. A program of
// its own, so that the calculator's process never loads the network library.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "engine/builtin_texts.h"
#include "engine/iso_day.h"
#include "platform/qt_translations.h"
#include "rates/rate_history.h"
#include "rates/rate_update.h"
#include "rates/update_result.h"
#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/language_file.h"
#include "storage/language_set.h"
#include "storage/program_directory.h"

namespace {

using devical::rates::RatesError;

constexpr const char* kDailyUrl = "https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml";
constexpr const char* kHistoryUrl = "https://www.ecb.europa.eu/stats/eurofxref/eurofxref-hist.xml";
constexpr qint64 kLargestFile = 256LL << 20;  // the full history is some megabytes: past this, it is not the ECB's

// Without an answer for this long, the fetch gives up; DEVICAL_RATES_TIMEOUT_MS shortens it.
int TimeoutMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("DEVICAL_RATES_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 15000;
}

std::string Fetch(const QString& given) {
    const QUrl url = QUrl::fromUserInput(given);
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (!url.isValid() || !(url.isLocalFile() || (web && !url.host().isEmpty())))
        throw RatesError("RatesBadUrl", {given.toStdString()});
    // Read as the program's own files are: a FIFO or a device is refused at once, where the
    // network manager would wait on it for a writer.
    if (url.isLocalFile())
        return devical::storage::ReadFileBytesUpTo(url.toLocalFile().toStdString(),
                                                   static_cast<std::uint64_t>(kLargestFile));
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    const int timeout = TimeoutMs();
    request.setTransferTimeout(timeout);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("devical-rates/" DEVICAL_VERSION));
    QNetworkReply* reply = manager.get(request);
    bool tooBig = false;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, &tooBig](qint64 received, qint64) {
        if (received > kLargestFile && !tooBig) {
            tooBig = true;
            reply->abort();
        }
    });
    // The transfer timeout starts again at each byte, so a server that trickles them would
    // hold the fetch for ever: the whole answer has one deadline.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [reply] { reply->abort(); });
    deadline.start(timeout);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    reply->deleteLater();
    const std::string where = url.toDisplayString().toStdString();
    if (tooBig) throw RatesError("RatesTooBig", {where});
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299))
        throw RatesError("RatesHttp",
                         {where, std::to_string(status.toInt()),
                          reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().toStdString()});
    if (reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError) {
        const char separator = devical::engine::DecimalSeparatorOf(devical::engine::CurrentBuiltInLanguage());
        const QString seconds = QString::number(timeout / 1000.0).replace(QLatin1Char('.'), QLatin1Char(separator));
        throw RatesError("RatesNoAnswer", {where, seconds.toStdString()});
    }
    // The network library's own words are English: they go inside ours.
    if (reply->error() != QNetworkReply::NoError)
        throw RatesError("RatesUnreachable", {where, reply->errorString().toStdString()});
    const QByteArray bytes = reply->readAll();
    return bytes.toStdString();
}

// As the calculator finds it: beside the executable when that holds DEVICAL.INI, else the
// user's own directory (seeded from the installed data when new).
devical::storage::ProgramDirectoryPlan ProgramDirectory() {
    return devical::storage::PlanProgramDirectoryFor(
        (QCoreApplication::applicationDirPath() + QLatin1Char('/')).toStdString(), std::getenv("XDG_DATA_HOME"),
        QDir::homePath().toStdString());
}

void Print(const devical::rates::UpdateReport& report, bool dryRun) {
    using devical::engine::BuiltInText;
    for (const auto& change : report.changed)
        std::printf("%s %s -> %s\n", change.code.c_str(), change.oldText.c_str(), change.newText.c_str());
    for (const auto& change : report.added)
        std::printf("%s\n", BuiltInText("RatesAddedLine", {change.code, change.newText}).c_str());
    const std::string summary =
        BuiltInText("RatesSummary", {devical::engine::ShownDate(report.date),
                                     devical::engine::CountText("RatesChangedCount", report.changed.size()),
                                     devical::engine::CountText("RatesAddedCount", report.added.size())});
    std::printf("%s%s%s\n", summary.c_str(),
                report.currentCurrencyFollowed ? BuiltInText("RatesFollowedNote").c_str() : "",
                dryRun ? BuiltInText("RatesDryRunNote").c_str() : "");
}

int Failed(const char* why) {
    std::fprintf(stderr, "devical-rates: %s\n%s\n", why, devical::engine::BuiltInText("RatesNothingChanged").c_str());
    return 1;
}

struct RatesOptions {
    QCommandLineOption url, file, add, dryRun, directory, machine, history, date;
};

// The options, their help in the language in use.
RatesOptions DescribeOptions(QCommandLineParser& parser) {
    auto text = [](const char* key) { return QString::fromStdString(devical::engine::BuiltInText(key)); };
    parser.setApplicationDescription(text("RatesHelp"));
    parser.addHelpOption();
    parser.addVersionOption();
    // DEVICAL_RATES_URL sets another default: a mirror, or a copy kept for a test.
    const QString defaultUrl = qEnvironmentVariableIsEmpty("DEVICAL_RATES_URL")
                                   ? QString::fromLatin1(kDailyUrl)
                                   : qEnvironmentVariable("DEVICAL_RATES_URL");
    RatesOptions options{
        {QStringLiteral("url"), text("RatesHelpUrl"), QStringLiteral("URL"), defaultUrl},
        {QStringLiteral("file"), text("RatesHelpFile"), QStringLiteral("PATH")},
        {QStringLiteral("add"), text("RatesHelpAdd")},
        {QStringLiteral("dry-run"), text("RatesHelpDryRun")},
        {QStringLiteral("directory"), text("RatesHelpDirectory"), QStringLiteral("DIR")},
        {QStringLiteral("machine"), text("RatesHelpMachine")},
        {QStringLiteral("history"), text("RatesHelpHistory")},
        {QStringLiteral("date"), text("RatesHelpDate"), QStringLiteral("DATE")},
    };
    parser.addOptions({options.url, options.file, options.add, options.dryRun, options.directory, options.machine,
                       options.history, options.date});
    return options;
}

std::filesystem::path HistoryPath(const std::filesystem::path& directory) {
    return devical::storage::FindFileNoCase(directory, devical::rates::kRateHistoryFileName);
}

// The local history, or nothing before there is one. Throws RatesError for a damaged one.
std::optional<devical::rates::RateHistory> ReadHistory(const std::filesystem::path& directory) {
    const std::filesystem::path path = HistoryPath(directory);
    std::error_code missing;
    if (!std::filesystem::exists(path, missing)) return std::nullopt;
    return devical::rates::RateHistory::FromBytes(devical::storage::ReadFileBytes(path));
}

// What the run goes past is said, and noted for the window (a text key, then its parts).
void Notice(const RatesError& reason, std::vector<std::vector<std::string>>& notices) {
    std::fprintf(stderr, "devical-rates: %s\n", reason.what());
    notices.push_back({reason.Key()});
    notices.back().insert(notices.back().end(), reason.Parts().begin(), reason.Parts().end());
}

// The local history with the days fetched added, when there is one or one is asked for. A
// damaged history, or days it cannot take, stop only the fetch that asked for it: otherwise
// they are noted and the history is left as it is. Throws RatesError.
std::optional<devical::rates::RateHistory> HistoryWith(const std::filesystem::path& directory,
                                                       const std::vector<devical::rates::EcbRates>& days, bool asked,
                                                       std::vector<std::vector<std::string>>& notices) {
    devical::rates::RateHistory history;
    try {
        if (auto held = ReadHistory(directory))
            history = std::move(*held);
        else if (!asked)
            return std::nullopt;
    } catch (const RatesError& damaged) {
        Notice(damaged, notices);
        if (!asked) return std::nullopt;  // else made anew
    }
    try {
        history.Add(days);
    } catch (const RatesError& refused) {
        if (asked) throw;
        Notice(refused, notices);
        return std::nullopt;
    }
    return history;
}

// The history written once the list holds the day's rates: a failed update leaves it as it
// was. The list stays updated should the history not be written, which is said.
bool KeepHistory(const std::filesystem::path& directory, const devical::rates::RateHistory& history, bool dryRun,
                 bool tell) {
    try {
        if (!dryRun) devical::storage::ReplaceFileContents(HistoryPath(directory), history.Bytes());
    } catch (const devical::storage::FileError& failure) {
        std::fprintf(stderr, "devical-rates: %s\n", failure.what());
        return false;
    }
    if (tell)
        std::printf("%s\n", devical::engine::CountText("RatesHistoryKept", history.DayCount(),
                                                       {devical::engine::ShownDate(history.FirstDay()),
                                                        devical::engine::ShownDate(history.NewestDay())})
                                .c_str());
    return true;
}

// The rates of a day the user picked, from the local history: the last working day's for a
// day without rates, said so; a day outside the history refused. `published`: the currencies
// the bank ever published, of which one missing that day is worth saying.
devical::rates::EcbRates RatesOfDay(const std::filesystem::path& directory, const std::string& day, bool tell,
                                    std::set<std::string>& published) {
    using devical::engine::ShownDate;
    const auto history = ReadHistory(directory);
    if (!history) throw RatesError("RatesNoHistory", {});
    if (!devical::engine::IsoDay(day)) throw RatesError("RatesNotADate", {day});
    const auto rates = history->RatesOn(day);
    published.insert(history->Codes().begin(), history->Codes().end());
    if (!rates)
        throw RatesError("RatesDateOutside",
                         {ShownDate(day), ShownDate(history->FirstDay()), ShownDate(history->NewestDay())});
    if (rates->date != day && tell)
        std::printf("%s\n",
                    devical::engine::BuiltInText("RatesDateTaken", {ShownDate(day), ShownDate(rates->date)}).c_str());
    return *rates;
}

// A directory given is the window's own: used as it is, never seeded.
devical::storage::ProgramDirectoryPlan PlanFor(const QCommandLineParser& parser, const RatesOptions& options) {
    if (!parser.isSet(options.directory)) return ProgramDirectory();
    return {QDir(parser.value(options.directory)).absolutePath().toStdString() + "/", std::nullopt};
}

// What the command says, its help included, is in the language of the set installed where it
// works; before one is, in the user's locale's.
std::string SpeakLanguageOf(const devical::storage::ProgramDirectoryPlan& plan) {
    std::string language = devical::storage::SpokenLanguageIn(plan.directory);
    devical::engine::SetBuiltInLanguage(language);
    devical::platform::FollowInterfaceLanguage(QString::fromStdString(language));
    return language;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a file size limit gives a write error, not an end
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devical-rates"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DEVICAL_VERSION));
    {
        QCommandLineParser directoryOnly;  // read for the language only, whatever else is wrong
        const RatesOptions options = DescribeOptions(directoryOnly);
        directoryOnly.parse(QCoreApplication::arguments());
        SpeakLanguageOf(PlanFor(directoryOnly, options));
    }
    QCommandLineParser parser;
    const RatesOptions options = DescribeOptions(parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "devical-rates: %s\n", parser.errorText().toLocal8Bit().constData());
        return 1;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        devical::platform::ShowHelp(parser);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    const bool pickedDay = parser.isSet(options.date) &&
                           parser.value(options.date).compare(QLatin1String("today"), Qt::CaseInsensitive) != 0;
    if (pickedDay && (parser.isSet(options.url) || parser.isSet(options.file) || parser.isSet(options.history))) {
        std::fprintf(stderr, "devical-rates: %s\n", devical::engine::BuiltInText("RatesDateUsage").c_str());
        return 1;
    }
    if (!parser.positionalArguments().isEmpty() || (parser.isSet(options.url) && parser.isSet(options.file))) {
        std::fprintf(stderr, "devical-rates: %s\n", devical::engine::BuiltInText("RatesUsage").c_str());
        return 1;
    }

    QNetworkProxyFactory::setUseSystemConfiguration(true);  // http_proxy and the like
    try {
        const devical::storage::ProgramDirectoryPlan plan = PlanFor(parser, options);
        if (!parser.isSet(options.dryRun))
            devical::storage::PrepareProgramDirectory(plan, devical::storage::LocaleLanguageCode());
        const std::string language = SpeakLanguageOf(plan);  // a directory seeded just now has its set

        const bool machine = parser.isSet(options.machine);
        const bool dryRun = parser.isSet(options.dryRun);
        std::vector<devical::rates::EcbRates> days;
        if (!pickedDay) {
            const bool wholeHistory = parser.isSet(options.history) && !parser.isSet(options.url);
            const std::string xml =
                parser.isSet(options.file)
                    ? devical::storage::ReadFileBytes(parser.value(options.file).toStdString())
                    : Fetch(wholeHistory ? QString::fromLatin1(kHistoryUrl) : parser.value(options.url));
            days = devical::rates::ParseEcbDays(xml);
        }
        // Another run adds its days, or changes the list, after ours.
        const devical::storage::DirectoryLock lock(plan.directory);
        std::set<std::string> everPublished;
        const devical::rates::EcbRates rates =
            pickedDay ? RatesOfDay(plan.directory, parser.value(options.date).toStdString(), !machine, everPublished)
                      : days.back();
        std::vector<std::vector<std::string>> notices;
        const std::optional<devical::rates::RateHistory> history =
            pickedDay ? std::nullopt : HistoryWith(plan.directory, days, parser.isSet(options.history), notices);
        devical::rates::UpdateReport report = devical::rates::UpdateRates(
            plan.directory, rates, {parser.isSet(options.add), dryRun, pickedDay}, language);
        report.notices = std::move(notices);
        const bool historyKept = !history || KeepHistory(plan.directory, *history, dryRun, !machine);
        // A picked day names the currencies the bank publishes that kept their rate, missing that day.
        std::erase_if(report.unpublished,
                      [&](const std::string& code) { return !pickedDay || !everPublished.contains(code); });
        for (const std::string& notice : devical::storage::TakeStorageNotices())
            std::fprintf(stderr, "devical-rates: %s\n", notice.c_str());
        if (parser.isSet(options.machine)) {
            std::fputs(devical::rates::UpdateResultText(report).c_str(), stdout);
        } else {
            Print(report, parser.isSet(options.dryRun));
            if (!report.unpublished.empty()) std::printf("%s\n", devical::rates::KeptRatesSentence(report).c_str());
        }
        return historyKept || !parser.isSet(options.history) ? 0 : 1;
    } catch (const RatesError& error) {
        // The window says the reason in its own words; a person reads the sentence.
        if (parser.isSet(options.machine))
            std::fputs(devical::rates::FailureResultText(error.Key(), error.Parts()).c_str(), stdout);
        return Failed(error.what());
    } catch (const std::exception& error) {
        return Failed(error.what());
    }
}
