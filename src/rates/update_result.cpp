#include "rates/update_result.h"

#include <vector>

#include "engine/builtin_texts.h"
#include "storage/text_lines.h"

namespace devical::rates {

namespace {

std::string ChangeLine(std::string_view kind, const RateChange& change) {
    return std::string(kind) + '\t' + change.code + '\t' + change.oldText + '\t' + change.newText + '\n';
}

// "failed\tKEY\tpart...": a text of the program by its key, with the parts it fills in.
std::string ReasonLine(std::string_view kind, std::string_view key, const std::vector<std::string>& parts) {
    std::string text = std::string(kind) + '\t' + std::string(key);
    for (const std::string& part : parts)
        text += '\t' + storage::TabField(part);
    return text + '\n';
}

}  // namespace

std::string UpdateResultText(const UpdateReport& report) {
    std::string text = "date\t" + report.date + '\n';
    for (const RateChange& change : report.changed)
        text += ChangeLine("changed", change);
    for (const RateChange& change : report.added)
        text += ChangeLine("added", change);
    for (const std::string& code : report.unpublished)
        text += "kept\t" + code + '\n';
    for (const std::vector<std::string>& notice : report.notices)
        if (!notice.empty()) text += ReasonLine("notice", notice.front(), {notice.begin() + 1, notice.end()});
    if (report.currentCurrencyFollowed) text += "followed\n";
    return text;
}

std::string FailureResultText(std::string_view key, const std::vector<std::string>& parts) {
    return ReasonLine("failed", key, parts);
}

std::string KeptRatesSentence(const UpdateReport& report) {
    if (report.unpublished.empty()) return {};
    std::string codes;
    for (const std::string& code : report.unpublished)
        codes += (codes.empty() ? "" : ", ") + code;
    return engine::BuiltInText("RatesUnpublished", {codes});
}

UpdateReport ReadUpdateResult(std::string_view text) {
    UpdateReport report;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::vector<std::string_view> fields = storage::TabFields(text.substr(start, end - start));
        start = end + 1;
        if (fields[0] == "date" && fields.size() == 2) report.date = fields[1];
        if (fields[0] == "followed") report.currentCurrencyFollowed = true;
        if (fields[0] == "kept" && fields.size() == 2) report.unpublished.emplace_back(fields[1]);
        if (fields[0] == "failed" && fields.size() >= 2) report.failure.assign(fields.begin() + 1, fields.end());
        if (fields[0] == "notice" && fields.size() >= 2) report.notices.emplace_back(fields.begin() + 1, fields.end());
        if ((fields[0] == "changed" || fields[0] == "added") && fields.size() == 4) {
            RateChange change{std::string(fields[1]), std::string(fields[2]), std::string(fields[3])};
            (fields[0] == "changed" ? report.changed : report.added).push_back(std::move(change));
        }
    }
    return report;
}

}  // namespace devical::rates
