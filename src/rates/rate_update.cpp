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
#include "storage/list_file.h"

namespace devical::rates {

namespace {

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
        if (!engine::IsFixedToEuro(rate.code)) published.emplace(rate.code, &rate);

    storage::ListInPlace list(listBytes, storage::kRateFields);
    std::vector<std::string> rateTexts;
    for (std::size_t record = 0; record < list.RecordCount(); ++record)
        rateTexts.push_back(list.Field(record, 1));
    const char separator =
        SeparatorIn(rateTexts).value_or(engine::DecimalSeparatorOf(engine::BuiltInLanguageOf(languageCode)));

    UpdateReport report;
    report.date = rates.date;
    std::set<std::string> listed;
    for (std::size_t record = 0; record < list.RecordCount(); ++record) {
        const std::string code = engine::CurrencyCode(list.Field(record, 0));
        const auto rate = published.find(code);
        if (rate == published.end()) {
            if (!engine::IsFixedToEuro(code)) report.unpublished.push_back(code);
            continue;
        }
        listed.insert(code);
        const std::string& text = rateTexts[record];
        if (SameRate(text, separator, rate->second->rate)) continue;
        const std::string newText = WithSeparator(rate->second->rateText, separator);
        report.changed.push_back({code, text, newText});
        list.SetField(record, 1, newText);
    }
    for (const PublishedRate& rate : rates.rates) {
        if (!options.add || engine::IsFixedToEuro(rate.code) || listed.contains(rate.code)) continue;
        const std::string newText = WithSeparator(rate.rateText, separator);
        list.Append({CurrencyTitle(rate.code, engine::BuiltInLanguageOf(languageCode)), newText});
        report.added.push_back({rate.code, "", newText});
    }
    const std::string newList = list.Bytes();

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
    if (options.pickedDay || !settings.Read("Rates", "Picked", "").empty())
        settings.Write("Rates", "Picked", options.pickedDay ? "1" : "0");
    settings.Write("Rates", "Source", "ECB");

    if (options.dryRun) return report;
    std::vector<storage::FileContents> files;
    if (newList != listBytes) files.push_back({listPath, newList});
    if (settings.Bytes() != settingsBytes) files.push_back({settingsPath, settings.Bytes()});
    if (!files.empty()) storage::ReplaceFilesTogether(programDirectory, files);
    return report;
}

}  // namespace devical::rates
