// The tape written out: for a spreadsheet, as CSV, and as the roll reads.
#include <gtest/gtest.h>

#include "engine/tape.h"

namespace devical::engine {
namespace {

const TapeWords kWords{"HT", "Taxe", "TTC", "Devise : %1, 1 € = %2", "Taxe : %1 %", "Décimales : %1", " (BCE du %1)"};
const TapeCells kTitles{"Montant", "Touche", "Ligne", "Devise", "Converti", "Devise", "Heure"};

const std::vector<TapeLine> kTape = {
    {"2026-12-08 10:00:00", TapeMark::Plus, "100,00", 1, "FRF", "", ""},
    {"2026-12-08 10:00:01", TapeMark::Equals, "20,00", 5, "FRF", "", ""},
    {"2026-12-08 10:00:01", TapeMark::Total, "1120,00", 5, "FRF", "170,74", "EUR"},
    {"2026-12-08 10:00:02", TapeMark::Currency, "1,08", 0, "USD", "2026-12-04", ""},  // its rate's day
    {"2026-12-08 10:00:03", TapeMark::Clear, "", 0, "", "", ""},
};

TEST(TapeOutput, WritesTheSameLinesForASpreadsheetAsCsvAndAsText) {
    EXPECT_EQ(TapeTable({kTape[0], kTape[2]}, kWords),
              "100,00\t+\tHT\tFRF\t\t\t2026-12-08 10:00:00\n"
              "1120,00\t\tTTC\tFRF\t170,74\tEUR\t2026-12-08 10:00:01\n");
    // Between semicolons where the comma is the decimal separator; a cell holding the
    // separator quoted.
    EXPECT_EQ(TapeCsv({kTape[2], kTape[3]}, kWords, kTitles, ','),
              "Montant;Touche;Ligne;Devise;Converti;Devise;Heure\n"
              "1120,00;;TTC;FRF;170,74;EUR;2026-12-08 10:00:01\n"
              ";;Devise : USD, 1 € = 1,08 (BCE du 04/12/2026);;;;2026-12-08 10:00:02\n");
    EXPECT_EQ(TapeCsv({kTape[3]}, kWords, kTitles, '.'),
              "Montant,Touche,Ligne,Devise,Converti,Devise,Heure\n"
              ",,\"Devise : USD, 1 € = 1,08 (BCE du 04/12/2026)\",,,,2026-12-08 10:00:02\n");
    // Amounts to the right; a setting's sentence does not widen the line's column, and the
    // times stay in line past it.
    EXPECT_EQ(TapeText(kTape, kWords),
              " 100,00  +  HT   FRF                                      2026-12-08 10:00:00\n"
              "  20,00  =  TTC  FRF                                      2026-12-08 10:00:01\n"
              "1120,00     TTC  FRF  170,74  EUR                         2026-12-08 10:00:01\n"
              "            Devise : USD, 1 € = 1,08 (BCE du 04/12/2026)  2026-12-08 10:00:02\n"
              "         C                                                2026-12-08 10:00:03\n");
}

// An operand as it reads ("05" is 5), then the result and its conversion, each with the
// decimals in force written out: none, and no separator, at 0.
TEST(TapeLines, PrintTheFiguresAsReadWithTheDecimalsInForce) {
    struct Row {
        const char* operand;
        const char* decimals;
        std::vector<std::string> amounts;  // the operand, the result, the converted amount
    };
    const Row rows[] = {
        {"05", "2", {"5,00", "105,00", "16,00"}},
        {"5", "0", {"5", "105", "16"}},
    };
    ConverterContext context;
    context.currencyTitle = "FRF Franc";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operand);
        ConverterState state;
        state.Decimals = row.decimals;
        state.Boxes = {"105", "16", "0", "0", "0", "0"};
        const std::vector<TapeLine> lines = OperatorLines(row.operand, OperatorKey::Equals, state, context);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ((std::vector<std::string>{lines[0].amount, lines[1].amount, lines[1].converted}), row.amounts);
    }
}

}  // namespace
}  // namespace devical::engine
