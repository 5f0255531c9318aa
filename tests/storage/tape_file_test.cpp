// Tape.txt read back line by line, damaged lines skipped, new lines added in the file's way.
#include "storage/tape_file.h"
#include "temp_dir.h"

namespace devical::storage {
namespace {

using testing::TempDirTest;

TEST(TapeRecord, ReadsWholeLinesAndSkipsDamagedOnes) {
    struct Row {
        const char* record;
        bool whole;
    };
    const Row rows[] = {
        {"2026-12-08 10:00:00\t+\t100,00\t1\tFRF\t\t", true},
        {"2026-12-08 10:00:00\ttotal\t120,00\t1\tFRF\t18,29\tEUR", true},
        {"2026-12-08 10:00:00\tC\t\t0\t\t\t", true},
        {"2026-12-08 10:00:00\tcurrency\t1.08\t0\tUSD\t\t", true},
        {"2026-12-08 10:00:00\tcurrency\t1.08\t0\tUSD\t2026-12-04\t", true},   // with its rate's day
        {"2026-12-08 10:00:00\tcurrency\t1.08\t0\tUSD\t2026-13-04\t", false},  // no such day
        {"2026-12-08 10:00:00\ttax\t5,5\t0\t\t2026-12-04\t", false},           // a tax has none
        {"2026-12-08 10:00:00\tdecimals\tx\t0\t\t\t", true},
        {"2026-12-08 10:00:00\t+\t100,00\t1\tFRF\t", false},       // a field short: cut by a crash
        {"2026-12-08 10:00\t+\t100,00\t1\tFRF\t\t", false},        // no seconds
        {"2026-12-08 10:00:00\tplus\t100,00\t1\tFRF\t\t", false},  // no such key
        {"2026-12-08 10:00:00\t+\t100,00\t7\tFRF\t\t", false},     // no box 7
        {"2026-12-08 10:00:00\t+\t100,00\t\tFRF\t\t", false},      // no box at all
        {"2026-12-08 10:00:00\t+\tcent\t1\tFRF\t\t", false},       // no amount
        {"2026-12-08 10:00:00\ttotal\t120,00\t1\tFRF\t18;29\tEUR", false},
        {"2026-12-08 10:00:00\tCE\t12\t0\t\t\t", false},  // CE prints no amount
        {"2026-12-08 10:00:00\tdecimals\t9x\t0\t\t\t", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.record);
        const auto line = ReadTapeRecord(row.record);
        EXPECT_EQ(line.has_value(), row.whole);
        if (line) {
            EXPECT_EQ(TapeRecord(*line), row.record);
        }
    }
}

class TapeFileTest : public TempDirTest {};

// A Windows-1252 file with CR LF and a last line cut short: what reads is kept, and the next
// line first ends the cut one, in the file's own line end and code.
TEST_F(TapeFileTest, AddsLinesTheWayTheFileIsWritten) {
    const std::string kept =
        "2026-12-08 10:00:00\t+\t1\t1\tFRF\t\t\r\n"
        "damaged\r\n"
        "2026-12-08 10:00:00\t+\t2\t1\tFRF\t\t\r\n"
        "2026-12-08 10:00:00\t+\t3\t1\tFRF\t\t\r\n"
        "2026-12-08 10:00:00\t+\t4\t1\tF";
    WriteBytes("Tape.txt", kept);
    TapeFile file(Path("Tape.txt"));
    const auto lines = file.Load(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].amount, "2");
    EXPECT_EQ(lines[1].amount, "3");
    engine::TapeLine line{
        "2026-12-08 10:01:00", engine::TapeMark::Total, "5", 1, "\xc2\xa3\xc2\xa3\xc2\xa3", "1", "EUR"};
    file.Append(line);
    EXPECT_EQ(Bytes("Tape.txt"), kept + "\r\n2026-12-08 10:01:00\ttotal\t5\t1\t\xa3\xa3\xa3\t1\tEUR\r\n");
    EXPECT_EQ(file.LineCount(), 6u);

    // A letter Windows-1252 lacks: every line turned to UTF-8 first, none of them lost.
    std::string utf8 = Bytes("Tape.txt");
    for (std::size_t at = 0; (at = utf8.find('\xa3', at)) != std::string::npos; at += 2)
        utf8.replace(at, 1, "\xc2\xa3");
    line.code = "Z\xc5\x81O";
    file.Append(line);
    EXPECT_EQ(Bytes("Tape.txt"), utf8 + "2026-12-08 10:01:00\ttotal\t5\t1\tZ\xc5\x81O\t1\tEUR\r\n");
    EXPECT_EQ(file.LineCount(), 7u);
    EXPECT_EQ(file.Load(10).back().code, "Z\xc5\x81O");
}

// A line an editor added in UTF-8 to a Windows-1252 tape, with letters that code lacks, is
// kept whole when the tape is cut back: the file becomes UTF-8, never '?'.
TEST_F(TapeFileTest, ACutBackKeepsAnEditorsUtf8Line) {
    WriteBytes("Tape.txt",
               "2026-12-08 10:00:00\t+\t1\t1\tFRF\t\t\r\n"
               "2026-12-08 10:00:00\t+\t2\t1\t\xa3\t\t\r\n"
               "2026-12-08 10:00:00\t+\t3\t1\t\xc5\x81\xc3\x93"
               "D\t\t\r\n");
    TapeFile(Path("Tape.txt")).CutBack(2);
    EXPECT_EQ(Bytes("Tape.txt"),
              "2026-12-08 10:00:00\t+\t2\t1\t\xc2\xa3\t\t\r\n"
              "2026-12-08 10:00:00\t+\t3\t1\t\xc5\x81\xc3\x93"
              "D\t\t\r\n");
}

// A stray Ctrl+Z in the tape, the program's own log, damages only its line; the file's code
// and line end are still read from all of it.
TEST_F(TapeFileTest, ACtrlZDamagesOnlyItsLine) {
    const std::string one = "2026-12-08 10:00:00\t+\t1\t1\t", two = "2026-12-08 10:00:00\t+\t2\t1\t";
    const struct {
        const char* name;
        std::string bytes, read, appended;
    } rows[] = {
        {"in a field", one + "FRF\t\t\r\n" + two + "F\x1a\t\t\r\n" + one + "DEM\t\t\r\n", "1 FRF,1 DEM,",
         two + "\xa3\t\t\r\n"},
        {"first, in UTF-8 and LF", "\x1a\n" + one + "\xc2\xa3\t\t\n", "1 \xc2\xa3,", two + "\xc2\xa3\t\t\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes("Tape.txt", row.bytes);
        TapeFile file(Path("Tape.txt"));
        std::string read;
        for (const engine::TapeLine& line : file.Load(10))
            read += line.amount + " " + line.code + ",";
        EXPECT_EQ(read, row.read);
        file.Append({"2026-12-08 10:00:00", engine::TapeMark::Plus, "2", 1, "\xc2\xa3", "", ""});
        EXPECT_EQ(Bytes("Tape.txt"), row.bytes + row.appended);
    }
}

}  // namespace
}  // namespace devical::storage
