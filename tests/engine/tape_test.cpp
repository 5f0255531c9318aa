// The tape written out: for a spreadsheet, as CSV, and as the roll reads.
#include <gtest/gtest.h>

#include "engine/tape.h"

namespace devical::engine {
namespace {

const TapeWords kWords{"HT", "Taxe", "TTC", "Devise : %1, 1 € = %2", "Taxe : %1 %", "Décimales : %1"};
const TapeCells kTitles{"Montant", "Touche", "Ligne", "Devise", "Converti", "Devise", "Heure"};

const std::vector<TapeLine> kTape = {
    {"2026-12-08 10:00:00", TapeMark::Plus, "100,00", 1, "FRF", "", ""},
    {"2026-12-08 10:00:01", TapeMark::Equals, "20,00", 5, "FRF", "", ""},
    {"2026-12-08 10:00:01", TapeMark::Total, "1120,00", 5, "FRF", "170,74", "EUR"},
    {"2026-12-08 10:00:02", TapeMark::Currency, "1,08", 0, "USD", "", ""},
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
              ";;Devise : USD, 1 € = 1,08;;;;2026-12-08 10:00:02\n");
    EXPECT_EQ(TapeCsv({kTape[3]}, kWords, kTitles, '.'),
              "Montant,Touche,Ligne,Devise,Converti,Devise,Heure\n"
              ",,\"Devise : USD, 1 € = 1,08\",,,,2026-12-08 10:00:02\n");
    // Amounts to the right; a setting's sentence does not widen the line's column, and the
    // times stay in line past it.
    EXPECT_EQ(TapeText(kTape, kWords),
              " 100,00  +  HT   FRF                  2026-12-08 10:00:00\n"
              "  20,00  =  TTC  FRF                  2026-12-08 10:00:01\n"
              "1120,00     TTC  FRF  170,74  EUR     2026-12-08 10:00:01\n"
              "            Devise : USD, 1 € = 1,08  2026-12-08 10:00:02\n"
              "         C                            2026-12-08 10:00:03\n");
}

}  // namespace
}  // namespace devical::engine
