// The activation step with no window: the settings into the calculator in their order, the
// first clear, and the re-evaluations after a rate or tax change.
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "../engine/keypad.h"
#include "../storage/temp_dir.h"
#include "session/converter_session.h"
#include "storage/file_io.h"

namespace devical::session {
namespace {

using Boxes = std::array<std::string, 6>;
using storage::IniRead;
using storage::testing::TempDirTest;

const char* const kFrancs =
    "[Dialog]\r\nLib_HT=Montant HT\r\nLib_TTC=Montant TTC\r\n[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n"
    "[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=7\r\n"
    "Euro=1,07\r\n[Calcul]\r\nNb_Dec=2\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

class ActivationTest : public TempDirTest {
protected:
    // The settings file as another window left it, and the activation that follows.
    engine::EngineOutcome Activate(ConverterSession& session, const std::string& bytes) {
        WriteBytes("DEVICAL.INI", bytes);
        return session.Activate().outcome;
    }
    ConverterSession Session() {
        return ConverterSession(Path("").string(), [] { return ','; });
    }
    // Digits and "=", as the keypad gives them.
    static void Press(ConverterSession& session, std::string_view keys) {
        for (char key : keys) {
            if (key == '=') {
                session.Operate(engine::OperatorKey::Equals);
            } else {
                session.EditEntry(
                    [key](engine::ConverterState& state, char sep) { engine::EnterDigit(state, key - '0', sep); });
            }
        }
    }
    std::string Stored(std::string_view section, std::string_view key) {
        return IniRead(Path("DEVICAL.INI"), section, key, "");
    }
    static std::string With(std::string bytes, const std::string& from, const std::string& to) {
        return bytes.replace(bytes.find(from), from.size(), to);
    }
    // A window that has been activated once and has 100 francs net converted.
    ConverterSession Started() {
        ConverterSession session = Session();
        Activate(session, kFrancs);
        Press(session, "100=");
        return session;
    }
};

TEST_F(ActivationTest, BringsEverySettingIntoTheCalculator) {
    ConverterSession pad = Session();
    const engine::EngineOutcome outcome = Activate(pad, kFrancs);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(pad.Context().netCaption, "Montant HT");
    EXPECT_EQ(pad.Context().taxTitle, "TVA");
    EXPECT_EQ(pad.Context().taxCaption, "TVA (20,6 %)");
    EXPECT_EQ(pad.Context().currencyTitle, "FRF Franc français");
    EXPECT_EQ(engine::AmountText(pad.State().CurrencyRate, ','), "6,55957");
    EXPECT_EQ(engine::StoredTitle(pad.State().Memory), "FRF Caisse");
    EXPECT_EQ(pad.State().Memory.National, "7");
    EXPECT_EQ(pad.State().Memory.Euro, "1,07");
    Press(pad, "100=");
    EXPECT_EQ(pad.State().DeviationReport,
              "Ecarts de conversion (Centimes)\n\nMontant HT = -3\nTVA (20,6 %) = 0\nMontant TTC = +3\n");
}

TEST_F(ActivationTest, OnlyTheFirstActivationClearsTheBoxes) {
    ConverterSession pad = Started();
    Press(pad, "12");
    Activate(pad, kFrancs);
    EXPECT_EQ(pad.State().Box(1), "12");

    ConverterSession fresh = Session();
    Press(fresh, "12");
    Activate(fresh, kFrancs);
    EXPECT_EQ(fresh.State().Boxes, Boxes({"0", "0", "0", "0", "0", "0"}));
}

TEST_F(ActivationTest, ANewRateKeepsTheEurosAndRecomputesTheNationalAmounts) {
    struct Row {
        int box;
        Boxes shown;
        const char* clipboard;
        bool chosen = true;  // in the list; else the file alone changed, as devical-rates does
    };
    const Row rows[] = {
        {1, {"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}, "29,81"},
        {2, {"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}, "29,81"},
        {5, {"29,83", "15,25", "6,14", "3,14", "35,97", "18,39"}, "35,97"},  // from the gross row's euros
        {1, {"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}, "29,81", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        ConverterSession pad = Started();
        pad.ChooseBox(engine::RowOf(row.box), engine::ColumnOf(row.box));
        // A choice takes the amounts along at once, in one rewrite of the file; the activation
        // that follows finds nothing new.
        static int renames = 0;
        renames = 0;
        storage::SetFileStepObserver(
            [](storage::FileStep step, const std::filesystem::path&) { renames += step == storage::FileStep::Rename; });
        const engine::EngineOutcome chosen =
            row.chosen ? pad.Choose(storage::CurrencyChoice{"DEM Mark", "1,95583", 1.95583L}).outcome
                       : engine::EngineOutcome{};
        storage::SetFileStepObserver(nullptr);
        EXPECT_EQ(renames, row.chosen ? 1 : 0);
        const std::string marks = With(With(With(kFrancs,
                                                 "FRF Franc fran\xe7"
                                                 "ais",
                                                 "DEM Mark"),
                                            "6,55957", "1,95583"),
                                       "CaseEnSaisie=1", "CaseEnSaisie=" + std::to_string(row.box));
        const engine::EngineOutcome activated = Activate(pad, marks);
        EXPECT_EQ(pad.State().Boxes, row.shown);
        EXPECT_EQ((row.chosen ? chosen : activated).clipboardText, row.clipboard);
        if (row.chosen) {
            EXPECT_FALSE(activated.clipboardText);
        }
        EXPECT_EQ(pad.State().BoxUnderEntry, row.box);
        EXPECT_FALSE(pad.State().CurrencyChanged);
        EXPECT_EQ(Stored("Windows", "CaseEnSaisie"), std::to_string(row.box));
    }
}

TEST_F(ActivationTest, ANewTaxRateIsCarriedIntoTheColumn) {
    ConverterSession pad = Started();
    const engine::EngineOutcome outcome = pad.Choose(storage::TaxChoice{"TVA", "5,5", 5.5L}).outcome;
    Activate(pad, With(kFrancs, "Rate=20,6", "Rate=5,5"));
    EXPECT_EQ(pad.State().Boxes, Boxes({"100", "15,24", "5,5", "0,84", "105,5", "16,08"}));
    EXPECT_EQ(outcome.clipboardText, "15,24");
    EXPECT_FALSE(pad.State().TaxChanged);
    EXPECT_EQ(pad.Context().taxCaption, "TVA (5,5 %)");
}

TEST_F(ActivationTest, TheStoredBoxComesAfterTheSizeLevelAndMayEnlargeTheWindow) {
    struct Row {
        const char* size;
        const char* box;
        int level, boxUnderEntry;
        const char* storedSize;
    };
    const Row rows[] = {
        {"3", "4", 2, 4, "2"},  // the tax row is hidden at level 3: the window grows to show it
        {"3", "2", 3, 2, "3"}, {"2", "5", 2, 5, "2"}, {"1", "6", 1, 6, "1"},  // the last box too
        {"3", "9", 3, 1, "3"},                                                // a box out of range chooses nothing
        {"5", "7", 3, 1, "3"},  // a level out of range is held and rewritten
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.size) + "/" + row.box);
        ConverterSession pad = Session();
        Activate(pad, With(With(kFrancs, "Size=1", std::string("Size=") + row.size), "CaseEnSaisie=1",
                           std::string("CaseEnSaisie=") + row.box));
        EXPECT_EQ(pad.State().SizeLevel, row.level);
        EXPECT_EQ(pad.State().BoxUnderEntry, row.boxUnderEntry);
        EXPECT_EQ(Stored("Windows", "Size"), row.storedSize);
        EXPECT_EQ(Stored("Windows", "CaseEnSaisie"), row.box);  // kept as stored, even when unusable
    }
}

TEST_F(ActivationTest, RenamingKeepsTheMemoryAmountsShownOnce) {
    ConverterSession pad = Started();
    pad.ShowMemoryAsZero();
    pad.StartRenaming();
    Activate(pad, With(kFrancs, "Title=FRF Caisse", "Title=FRF Tiroir"));
    EXPECT_EQ(engine::StoredTitle(pad.State().Memory), "FRF Tiroir");
    EXPECT_EQ(pad.State().Memory.National, "0");
    Activate(pad, kFrancs);
    EXPECT_EQ(pad.State().Memory.National, "7");
}

TEST_F(ActivationTest, AWriteThatFailsIsReportedAndTheStepGoesOn) {
    ConverterSession pad = Session();
    // Read-only, and each value written differently from how it would be stored.
    WriteBytes("DEVICAL.INI", With(With(kFrancs, "Size=1", "Size=+3"), "CaseEnSaisie=1", "CaseEnSaisie=+1"));
    ::chmod(Path("DEVICAL.INI").c_str(), 0444);
    const engine::EngineOutcome outcome = pad.Activate().outcome;
    EXPECT_EQ(outcome.messages.size(), 1u);  // the size level and the box under entry, in one write
    EXPECT_EQ(pad.State().SizeLevel, 3);
    EXPECT_EQ(pad.Context().currencyTitle, "FRF Franc français");
}

TEST_F(ActivationTest, TheDailyRatesAreDueOnceADayWhenAskedFor) {
    const auto monday = std::chrono::sys_days(std::chrono::year(2026) / 12 / 7);
    const std::pair<const char*, bool> rows[] = {
        {"", false},
        {"Daily=0\r\nChecked=2026-12-04\r\n", false},
        {"Daily=1\r\nChecked=2026-12-07\r\n", false},
        {"Daily=1\r\nChecked=2026-12-04\r\n", true},
        {"Daily=1\r\n", true},
        {"Daily=1\r\nChecked=2026-12-04\r\nPicked=1\r\n", false},  // a day the user picked stays
    };
    for (const auto& [rates, due] : rows) {
        SCOPED_TRACE(rates);
        ConverterSession session = Session();
        Activate(session, kFrancs + std::string("[Rates]\r\n") + rates);
        EXPECT_EQ(session.TakeDailyRatesTurn(monday), due);
        EXPECT_FALSE(session.TakeDailyRatesTurn(monday));  // once
        if (due) {
            EXPECT_EQ(Stored("Rates", "Checked"), "2026-12-07");
        }
    }
}

// The bank's day goes with a floating rate only: not with the euro, nor a currency fixed to it.
TEST_F(ActivationTest, TheBanksDayGoesWithAFloatingRateOnly) {
    for (const auto& [code, day] : {std::pair{"USD", "2026-12-04"}, {"EUR", ""}, {"FRF", ""}}) {
        SCOPED_TRACE(code);
        ConverterSession session = Session();
        Activate(session, With(kFrancs, "Title=FRF", std::string("Title=") + code) + "[Rates]\r\nDate=2026-12-04\r\n");
        EXPECT_EQ(session.FloatingRateDate(), day);
    }
}

TEST(WorkingDaysSince, CountsMondayToFridayAfterTheDateUpToToday) {
    using namespace std::chrono;
    const sys_days monday = sys_days(year(2026) / December / 7);
    const std::pair<const char*, int> rows[] = {
        {"2026-12-07", 0},  {"2026-12-04", 1},  // Friday's rates on Monday
        {"2026-11-27", 6},  {"2026-12-05", 1},  // a Saturday
        {"2026-02-30", -1}, {"04/12/2026", -1},
    };
    for (const auto& [date, days] : rows) {
        SCOPED_TRACE(date);
        EXPECT_EQ(WorkingDaysSince(date, monday), days);
    }
}

// The daily update and the age of the rates count the user's days: fourteen hours ahead of
// UTC, today is mostly UTC's tomorrow.
TEST(LocalToday, TurnsAtLocalMidnight) {
    using namespace std::chrono;
    const std::string before = std::getenv("TZ") ? std::getenv("TZ") : "";
    for (const auto& [zone, offset] : {std::pair{"Pacific/Kiritimati", hours(14)}, {"UTC", hours(0)}}) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        EXPECT_EQ(LocalToday(), floor<days>(system_clock::now() + offset)) << zone;
    }
    before.empty() ? ::unsetenv("TZ") : ::setenv("TZ", before.c_str(), 1);
    ::tzset();
}

}  // namespace
}  // namespace devical::session
