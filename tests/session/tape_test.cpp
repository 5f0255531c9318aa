// The paper tape as the keys print it, and Tape.txt behind it.
#include <sys/stat.h>

#include "../storage/temp_dir.h"
#include "engine/entry.h"
#include "session/converter_session.h"

namespace devical::session {
namespace {

using storage::testing::TempDirTest;

const char* const kFrancs =
    "[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=0\r\nEuro=0\r\n"
    "[Calcul]\r\nNb_Dec=2\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

const engine::TapeWords kWords{"HT",          "Taxe",           "TTC",         "Devise : %1, 1 € = %2",
                               "Taxe : %1 %", "Décimales : %1", " (BCE du %1)"};

class TapeTest : public TempDirTest {
protected:
    ConverterSession Started(const std::string& settings = kFrancs) {
        WriteBytes("DEVICAL.INI", settings);
        ConverterSession session(Path("").string(), [] { return ','; });
        session.Tape().SetClock([] { return std::string("2026-12-08 10:00:00"); });
        session.Activate();
        return session;
    }
    // The keypad: digits and ','; the operators; C, E (CE) and < (backspace); P, M, R and Z
    // for M+, M-, MR and MC; V pastes 12.5.
    static void Press(ConverterSession& session, std::string_view keys) {
        for (const char key : keys) {
            switch (key) {
            case 'C': session.ClearAll(); break;
            case 'E': session.CancelEntry(); break;
            case '<': session.EditEntry([](engine::ConverterState& state, char) { engine::Backspace(state); }); break;
            case 'P': session.AddToMemory(engine::MemoryKey::Plus); break;
            case 'M': session.AddToMemory(engine::MemoryKey::Minus); break;
            case 'R': session.RecallMemory(); break;
            case 'Z': session.ClearMemory(); break;
            case 'V': session.Paste("12.5\nsecond line"); break;
            case '+': session.Operate(engine::OperatorKey::Plus); break;
            case '-': session.Operate(engine::OperatorKey::Minus); break;
            case 'x': session.Operate(engine::OperatorKey::Times); break;
            case '/': session.Operate(engine::OperatorKey::Divide); break;
            case '%': session.Operate(engine::OperatorKey::Percent); break;
            case '=': session.Operate(engine::OperatorKey::Equals); break;
            default:
                session.EditEntry([key](engine::ConverterState& state, char sep) {
                    engine::EnterDigit(state, key == ',' ? engine::kSeparatorKey : key - '0', sep);
                });
            }
        }
    }
    // Each line as read: its cells that say something, the time left out.
    static std::vector<std::string> Printed(ConverterSession& session) {
        std::vector<std::string> printed;
        for (const engine::TapeLine& line : session.Tape().Lines()) {
            std::string said;
            const engine::TapeCells cells = engine::CellsOf(line, kWords);
            for (std::size_t column = 0; column + 1 < cells.size(); ++column)
                if (!cells[column].empty()) said += (said.empty() ? "" : " ") + cells[column];
            printed.push_back(said);
        }
        return printed;
    }
};

// FRF at 6,55957, a tax of 20,6 and two decimals, typed in the franc net box unless said.
TEST_F(TapeTest, PrintsEachOperandWithItsKeyAndEachResultWithItsConversion) {
    struct Row {
        const char* keys;
        std::vector<std::string> printed;
        int box = 1;
    };
    const Row rows[] = {
        {"100+20=", {"100,00 + HT FRF", "20,00 = HT FRF", "120,00 HT FRF 18,29 EUR"}},
        {"2+3x4=", {"2,00 + HT FRF", "3,00 x HT FRF", "4,00 = HT FRF", "20,00 HT FRF 3,05 EUR"}},
        {"200+10%=", {"200,00 + HT FRF", "10,00 % HT FRF", "20,00 = HT FRF", "220,00 HT FRF 33,54 EUR"}},
        {"5/0=", {"5,00 / HT FRF", "0,00 = HT FRF", "0,00 HT FRF 0,00 EUR"}},
        {"1,005=", {"1,005 = HT FRF", "1,01 HT FRF 0,15 EUR"}},  // typed whole, shown rounded
        // A key that fails prints nothing: the lone minus left by backspace.
        {"-5=<+", {"0,00 - HT FRF", "5,00 = HT FRF", "-5,00 HT FRF -0,76 EUR"}},
        {"12+7EC", {"12,00 + HT FRF", "CE", "C"}},
        {"100=PRZ",
         {"100,00 = HT FRF", "100,00 HT FRF 15,24 EUR", "100,00 M+ HT FRF 15,24 EUR", "100,00 MR HT FRF", "MC"}},
        {"15,24=", {"15,24 = HT EUR", "15,24 HT EUR 99,97 FRF"}, 2},
        {"100+V", {"100,00 + HT FRF", "12,50 = HT FRF", "112,50 HT FRF 17,15 EUR"}},
        {"100=", {"100,00 = TTC FRF", "100,00 TTC FRF 15,24 EUR"}, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        ConverterSession session = Started();
        session.Tape().Clear();
        session.ChooseBox(engine::RowOf(row.box), engine::ColumnOf(row.box));
        Press(session, row.keys);
        EXPECT_EQ(Printed(session), row.printed);
    }
}

TEST_F(TapeTest, PrintsEachChangeOfSettingAfterTheFirstActivation) {
    ConverterSession session = Started();
    EXPECT_TRUE(Printed(session).empty());
    session.SetDecimals("3");
    std::string dollars = kFrancs;
    dollars.replace(dollars.find("FRF Franc"), 9, "USD Dollar");
    dollars.replace(dollars.find("6,55957"), 7, "1,08");
    dollars.replace(dollars.find("20,6"), 4, "5,5");
    dollars.replace(dollars.find("Nb_Dec=2"), 8, "Nb_Dec=3");
    WriteBytes("DEVICAL.INI", dollars);
    session.Activate();
    EXPECT_EQ(Printed(session),
              (std::vector<std::string>{"Décimales : 3", "Devise : USD, 1 € = 1,08", "Taxe : 5,5 %"}));
    // The rate alone, as the rates command changes it, with the day of the bank's rates.
    dollars.replace(dollars.find("1,08"), 4, "1,0842");
    WriteBytes("DEVICAL.INI", dollars + "[Rates]\r\nDate=2026-12-04\r\n");
    session.Activate();
    EXPECT_EQ(Printed(session).back(), "Devise : USD, 1 € = 1,0842 (BCE du 04/12/2026)");
}

TEST_F(TapeTest, KeepsItsLinesInTapeTxtAndCutsThemBackToTheLast10000) {
    ConverterSession session = Started();
    Press(session, "100=");
    EXPECT_EQ(Bytes("Tape.txt"),
              "2026-12-08 10:00:00\t=\t100,00\t1\tFRF\t\t\r\n"
              "2026-12-08 10:00:00\ttotal\t100,00\t1\tFRF\t15,24\tEUR\r\n");
    ConverterSession next = Started();
    EXPECT_EQ(Printed(next), Printed(session));  // the next run reads them back

    // An editor saves the tape as a new file, its last line unended: the next line goes there.
    WriteBytes("Tape.new", "2026-12-07 09:00:00\t+\t1\t1\tFRF\t\t");
    std::filesystem::rename(Path("Tape.new"), Path("Tape.txt"));
    Press(session, "5+");
    EXPECT_EQ(Bytes("Tape.txt"),
              "2026-12-07 09:00:00\t+\t1\t1\tFRF\t\t\r\n2026-12-08 10:00:00\t+\t5,00\t1\tFRF\t\t\r\n");

    // A tape at its limit: the file runs on past it, then is cut back to the newest lines of
    // the file, a line added by an editor since the tape was read among them.
    std::string lines;
    for (std::size_t i = 0; i < TapeLog::kLimit + TapeLog::kSlack; ++i)
        lines += "2026-12-07 09:00:00\t+\t" + std::to_string(i) + "\t1\tFRF\t\t\n";
    WriteBytes("Tape.txt", lines);
    ConverterSession full = Started();
    full.Tape().Lines();
    WriteBytes("Tape.txt", lines + "2026-12-07 09:30:00\t+\t11000\t1\tFRF\t\t\n");
    Press(full, "7+");
    EXPECT_EQ(full.Tape().Lines().size(), TapeLog::kLimit);
    EXPECT_EQ(full.Tape().Lines().front().amount, std::to_string(TapeLog::kSlack + 1));
    const std::string kept = Bytes("Tape.txt");
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), static_cast<long>(TapeLog::kLimit));
    EXPECT_TRUE(kept.ends_with("\t11000\t1\tFRF\t\t\n2026-12-08 10:00:00\t+\t7,00\t1\tFRF\t\t\n"));
}

// Starting reads no tape; a tape that cannot be written is told once, not at every key.
TEST_F(TapeTest, ReadsTheFileOnlyWhenALineComesAndTellsAFailureOnce) {
    std::filesystem::create_directory(Path("Tape.txt"));
    ConverterSession session = Started();
    std::vector<std::string> told;
    session.Tape().OnFailure([&told](const std::string& failure) { told.push_back(failure); });
    session.ChooseBox(1, 1);
    EXPECT_TRUE(told.empty());
    Press(session, "1+2=");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("Tape.txt"), std::string::npos);
    EXPECT_EQ(Printed(session).size(), 3u);  // the tape goes on in the window
    // Written again, then failing anew: told again.
    std::filesystem::remove(Path("Tape.txt"));
    Press(session, "3+");
    std::filesystem::remove(Path("Tape.txt"));
    std::filesystem::create_directory(Path("Tape.txt"));
    Press(session, "4+5+");
    EXPECT_EQ(told.size(), 2u);
}

}  // namespace
}  // namespace devical::session
