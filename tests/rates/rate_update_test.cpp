#include "rates/rate_update.h"
#include "rates/update_result.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "storage/file_io.h"
#include "storage/temp_dir.h"

namespace devical::rates {
namespace {

using storage::testing::TempDirTest;

// A French list in Windows-1252 and CR LF, its fixed rows first among others.
const std::string kFrenchList =
    "ATS Schilling autrichien\r\n13,7603\r\nBGN Lev bulgare\r\n1,95583\r\nCHF Franc suisse\r\n0,94\r\n"
    "EUR Euro\r\n1\r\nGBP Livre sterling\r\n0,85\r\nHRK Kuna croate\r\n7,5345\r\nUSD Dollar am\xE9ricain\r\n1,08\r\n";
const std::string kUsdSettings = "[Currency]\r\nTitle=USD Dollar am\xE9ricain\r\nRate=1,08\r\n";
const std::string kRecorded = "[Rates]\r\nDate=2026-12-04\r\nSource=ECB\r\n";

// A file still listing the euro and fixed currencies, CHF at the rate the list has.
EcbRates Published() {
    EcbRates day{"2026-12-04", {}};
    for (const char* rate :
         {"USD 1.0842", "CHF 0.9400", "GBP 0.8543", "BGN 1.9558", "HRK 7.53", "EUR 1.1", "ATS 14", "NOK 11.7"})
        day.rates.push_back({std::string(rate, 3), rate + 4, *engine::ReadNumber(rate + 4, '.')});
    return day;
}

std::string Summary(const UpdateReport& report) {
    std::string text = report.date;
    for (const RateChange& change : report.changed)
        text += " " + change.code + " " + change.oldText + ">" + change.newText;
    for (const RateChange& change : report.added)
        text += " +" + change.code + " " + change.newText;
    return text + (report.currentCurrencyFollowed ? " followed" : "");
}

class RateUpdate : public TempDirTest {};

TEST_F(RateUpdate, ListAndSettingsByteForByte) {
    const std::string changedList =
        "ATS Schilling autrichien\r\n13,7603\r\nBGN Lev bulgare\r\n1,95583\r\nCHF Franc suisse\r\n0,94\r\n"
        "EUR Euro\r\n1\r\nGBP Livre sterling\r\n0,8543\r\nHRK Kuna croate\r\n7,5345\r\nUSD Dollar "
        "am\xE9ricain\r\n1,0842\r\n";
    const struct {
        const char* name;
        std::string how;  // "add", "dry run", "read-only settings"; the installed language
        std::string list, settings, listAfter, settingsAfter;
        std::string summary;  // empty: refused, nothing written
    } rows[] = {
        {"floating rates only, the current currency followed", "FR", kFrenchList, kUsdSettings, changedList,
         "[Currency]\r\nTitle=USD Dollar am\xE9ricain\r\nRate=1,0842\r\n" + kRecorded,
         "2026-12-04 GBP 0,85>0,8543 USD 1,08>1,0842 followed"},
        {"added in the installed language, points and LF kept", "add GM", "CHF Schweizer Franken\n0.94\nusd lower\n1",
         "",
         "CHF Schweizer Franken\n0.94\nusd lower\n1\nUSD US-Dollar\n1.0842\nGBP Pfund Sterling\n0.8543\nNOK "
         "Norwegische Krone\n11.7\n",
         kRecorded, "2026-12-04 +USD 1.0842 +GBP 0.8543 +NOK 11.7"},
        {"a record cut short gets its rate", "AN", "USD US dollar\r\n", "", "USD US dollar\r\n1.0842\r\n", kRecorded,
         "2026-12-04 USD >1.0842"},
        {"the byte-order mark and what follows a Ctrl+Z kept", "FR",
         "\xEF\xBB\xBFUSD Dollar am\xC3\xA9ricain\n1,08\x1Aold", "",
         "\xEF\xBB\xBFUSD Dollar am\xC3\xA9ricain\n1,0842\x1Aold", kRecorded, "2026-12-04 USD 1,08>1,0842"},
        {"dry run", "dry run FR", kFrenchList, kUsdSettings, kFrenchList, kUsdSettings,
         "2026-12-04 GBP 0,85>0,8543 USD 1,08>1,0842 followed"},
        {"settings that may not be written", "read-only settings FR", kFrenchList, kUsdSettings, kFrenchList,
         kUsdSettings, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes("Rates.txt", row.list);
        WriteBytes("DEVICAL.INI", row.settings);
        ::chmod(Path("DEVICAL.INI").c_str(), row.how.starts_with("read-only") ? 0444 : 0644);
        const UpdateOptions options{row.how.starts_with("add"), row.how.starts_with("dry run")};
        try {
            EXPECT_EQ(Summary(UpdateRates(dir_, Published(), options, row.how.substr(row.how.size() - 2))),
                      row.summary);
        } catch (const storage::FileError& error) {
            EXPECT_EQ(row.summary, "") << error.what();
        }
        EXPECT_EQ(Bytes("Rates.txt"), row.listAfter);
        EXPECT_EQ(Bytes("DEVICAL.INI"), row.settingsAfter);
        EXPECT_TRUE(NoTemporaryLeft());
    }
}

}  // namespace
}  // namespace devical::rates

namespace devical::rates {
namespace {

// The window reads back what the command wrote; a line it does not know, from a newer command,
// is passed over.
TEST(UpdateResult, ReadsBackWhatTheCommandWrote) {
    const UpdateReport report{"2026-12-04", {{"USD", "1,08", "1,0842"}}, {{"CNY", "", "7,8"}}, true, {}, {}, {}};
    const UpdateReport read = ReadUpdateResult(UpdateResultText(report) + "later\tfact\n" +
                                               FailureResultText("RatesHttp", {"http://x", "404", "Not\tFound"}));
    EXPECT_EQ(read.date, "2026-12-04");
    ASSERT_EQ(read.changed.size(), 1u);
    EXPECT_EQ(read.changed[0].newText, "1,0842");
    ASSERT_EQ(read.added.size(), 1u);
    EXPECT_EQ(read.added[0].code, "CNY");
    EXPECT_TRUE(read.currentCurrencyFollowed);
    EXPECT_EQ(read.failure, (std::vector<std::string>{"RatesHttp", "http://x", "404", "Not Found"}));
}

}  // namespace
}  // namespace devical::rates
