#include "rates/rate_update.h"

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
    return {"2026-12-04",
            {{"USD", "1.0842", 1.0842L},
             {"CHF", "0.9400", 0.94L},
             {"GBP", "0.8543", 0.8543L},
             {"BGN", "1.9558", 1.9558L},
             {"HRK", "7.53", 7.53L},
             {"EUR", "1.1", 1.1L},
             {"ATS", "14", 14},
             {"NOK", "11.7", 11.7L}}};
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
    struct Row {
        const char* name;
        std::string language, list, settings;
        UpdateOptions options;
        bool settingsReadOnly;
        std::string listAfter, settingsAfter, summary;  // summary empty: refused, nothing written
    };
    const std::string changedList =
        "ATS Schilling autrichien\r\n13,7603\r\nBGN Lev bulgare\r\n1,95583\r\nCHF Franc suisse\r\n0,94\r\n"
        "EUR Euro\r\n1\r\nGBP Livre sterling\r\n0,8543\r\nHRK Kuna croate\r\n7,5345\r\nUSD Dollar "
        "am\xE9ricain\r\n1,0842\r\n";
    const Row rows[] = {
        {"floating rates only, the current currency followed",
         "FR",
         kFrenchList,
         kUsdSettings,
         {},
         false,
         changedList,
         "[Currency]\r\nTitle=USD Dollar am\xE9ricain\r\nRate=1,0842\r\n" + kRecorded,
         "2026-12-04 GBP 0,85>0,8543 USD 1,08>1,0842 followed"},
        {"a fixed current currency stays",
         "FR",
         kFrenchList,
         "[Currency]\r\nTitle=FRF Franc\r\nRate=6,55957\r\n",
         {},
         false,
         changedList,
         "[Currency]\r\nTitle=FRF Franc\r\nRate=6,55957\r\n" + kRecorded,
         "2026-12-04 GBP 0,85>0,8543 USD 1,08>1,0842"},
        {"added in the installed language, points and LF kept",
         "GM",
         "CHF Schweizer Franken\n0.94\nusd lower case\n1",
         "",
         {true, false},
         false,
         "CHF Schweizer Franken\n0.94\nusd lower case\n1\nUSD US-Dollar\n1.0842\nGBP Pfund Sterling\n0.8543\n"
         "NOK Norwegische Krone\n11.7\n",
         kRecorded,
         "2026-12-04 +USD 1.0842 +GBP 0.8543 +NOK 11.7"},
        {"a record cut short gets its rate",
         "AN",
         "USD US dollar\r\n",
         "",
         {},
         false,
         "USD US dollar\r\n1.0842\r\n",
         kRecorded,
         "2026-12-04 USD >1.0842"},
        {"dry run",
         "FR",
         kFrenchList,
         kUsdSettings,
         {false, true},
         false,
         kFrenchList,
         kUsdSettings,
         "2026-12-04 GBP 0,85>0,8543 USD 1,08>1,0842 followed"},
        {"settings that may not be written", "FR", kFrenchList, kUsdSettings, {}, true, kFrenchList, kUsdSettings, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes("Rates.txt", row.list);
        WriteBytes("DEVICAL.INI", row.settings);
        ::chmod(Path("DEVICAL.INI").c_str(), row.settingsReadOnly ? 0444 : 0644);
        try {
            EXPECT_EQ(Summary(UpdateRates(dir_, Published(), row.options, row.language)), row.summary);
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
