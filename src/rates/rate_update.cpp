#include "rates/rate_update.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

#include "engine/builtin_texts.h"
#include "engine/currency.h"
#include "rates/currency_names.h"
#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/language_file.h"
#include "storage/text_encoding.h"
#include "storage/text_lines.h"

namespace devical::rates {

namespace {

using storage::FileLine;

// The decimal separator the texts already use, if any shows one.
template <typename Texts>
std::optional<char> SeparatorIn(const Texts& texts) {
    for (std::string_view text : texts) {
        if (text.find(',') != std::string_view::npos) return ',';
        if (text.find('.') != std::string_view::npos) return '.';
    }
    return std::nullopt;
}

std::string WithSeparator(std::string text, char separator) {
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

// Whether a listed rate text already says the published rate.
bool SameRate(std::string_view listed, char separator, engine::Amount published) {
    const auto rate = engine::ReadNumber(engine::NormaliseSeparator(listed, separator), separator);
    return rate && *rate == published;
}

}  // namespace

bool IsFixedCurrency(std::string_view code) {
    static constexpr std::array<std::string_view, 22> kFixed = {"EUR", "ATS", "BEF", "CYP", "DEM", "EEK", "ESP", "FIM",
                                                                "FRF", "GRD", "HRK", "IEP", "ITL", "LTL", "LUF", "LVL",
                                                                "MTL", "NLG", "PTE", "SIT", "SKK", "BGN"};
    return std::find(kFixed.begin(), kFixed.end(), code) != kFixed.end();
}

std::string InstalledLanguage(const std::filesystem::path& programDirectory) {
    return storage::LanguageFile(storage::FindFileNoCase(programDirectory, "DEVICAL.LAN")).InstalledLanguage();
}

UpdateReport UpdateRates(const std::filesystem::path& programDirectory, const EcbRates& rates,
                         const UpdateOptions& options, std::string_view languageCode) {
    // The window writes these files too: nobody else may between our reading and our writing.
    const storage::DirectoryLock lock(programDirectory);
    const std::filesystem::path listPath = storage::FindFileNoCase(programDirectory, "Rates.txt");
    const std::filesystem::path settingsPath = storage::FindFileNoCase(programDirectory, "DEVICAL.INI");
    const std::string listBytes = storage::ReadFileBytes(listPath);
    const std::string settingsBytes = storage::ReadFileBytesUpTo(settingsPath, storage::kLargestIniFile);

    std::map<std::string_view, const PublishedRate*> published;
    for (const PublishedRate& rate : rates.rates)
        if (!IsFixedCurrency(rate.code)) published.emplace(rate.code, &rate);

    // The list's lines as read, each with its own end; what follows a Ctrl+Z is kept as it is.
    const storage::TextFormat format = storage::FormatOf(listBytes);
    const std::size_t mark = storage::ByteOrderMark(format).size();
    const std::size_t textSize = std::max(storage::TextSize(listBytes), mark);
    std::vector<FileLine> lines = storage::SplitLinesWithEnds(std::string_view(listBytes).substr(mark));
    std::vector<std::string_view> rateLines;
    for (std::size_t line = 1; line < lines.size(); line += 2)
        rateLines.push_back(lines[line].text);
    const char separator = SeparatorIn(rateLines).value_or(
        engine::BuiltInLanguageOf(languageCode) == engine::BuiltInLanguage::English ? '.' : ',');

    UpdateReport report;
    report.date = rates.date;
    std::set<std::string> listed;
    for (std::size_t title = 0; title < lines.size(); title += 2) {
        const std::string code = engine::CurrencyCode(storage::Decode(lines[title].text, format.encoding));
        const auto rate = published.find(code);
        if (rate == published.end()) continue;
        listed.insert(code);
        if (title + 1 == lines.size()) {  // a last record cut short: its rate line comes now
            if (lines[title].end.empty()) lines[title].end = format.lineEnd;
            lines.push_back({"", std::string(format.lineEnd)});
        }
        std::string& text = lines[title + 1].text;
        if (SameRate(text, separator, rate->second->rate)) continue;
        const std::string newText = WithSeparator(rate->second->rateText, separator);
        report.changed.push_back({code, storage::Decode(text, format.encoding), newText});
        text = newText;
    }
    for (const PublishedRate& rate : rates.rates) {
        if (!options.add || IsFixedCurrency(rate.code) || listed.contains(rate.code)) continue;
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = format.lineEnd;
        if (lines.size() % 2 != 0) lines.push_back({"", std::string(format.lineEnd)});  // the rate a record lacked
        const std::string title = CurrencyTitle(rate.code, engine::BuiltInLanguageOf(languageCode));
        const std::string newText = WithSeparator(rate.rateText, separator);
        lines.push_back({storage::Encode(title, format.encoding), std::string(format.lineEnd)});
        lines.push_back({newText, std::string(format.lineEnd)});
        report.added.push_back({rate.code, "", newText});
    }
    std::string newList(listBytes.substr(0, mark));
    for (const FileLine& line : lines)
        newList += line.text + line.end;
    newList += listBytes.substr(textSize);

    // The current currency's rate follows, in the separator its own text uses.
    storage::IniDocument settings(settingsBytes);
    const auto current = published.find(engine::CurrencyCode(settings.Read("Currency", "Title", "")));
    if (current != published.end()) {
        const std::string rateText = settings.Read("Currency", "Rate", "");
        const char own = SeparatorIn(std::array{std::string_view(rateText)}).value_or(separator);
        if (!SameRate(rateText, own, current->second->rate)) {
            settings.Write("Currency", "Rate", WithSeparator(current->second->rateText, own));
            report.currentCurrencyFollowed = true;
        }
    }
    settings.Write("Rates", "Date", rates.date);
    settings.Write("Rates", "Source", "ECB");

    if (options.dryRun) return report;
    std::vector<storage::FileContents> files;
    if (newList != listBytes) files.push_back({listPath, newList});
    if (settings.Bytes() != settingsBytes) files.push_back({settingsPath, settings.Bytes()});
    if (!files.empty()) storage::ReplaceFilesTogether(programDirectory, files);
    return report;
}

}  // namespace devical::rates
