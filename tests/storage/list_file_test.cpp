#include "storage/list_file.h"

#include "storage/file_io.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

class ListFileTest : public TempDirTest {};

using Records = std::vector<ListRecord>;

TEST_F(ListFileTest, LoadsRecordsOfTwoAndThreeLines) {
    WriteBytes("Rates.txt",
               "FRF Franc fran\xe7"
               "ais\r\n6.55957\r\nXYZ Test\r\n1.234.5\r\n");
    EXPECT_EQ(LoadList(Path("Rates.txt"), kRateFields, ','),
              (Records{{"FRF Franc français", "6,55957"}, {"XYZ Test", "1,234.5"}}));
    WriteBytes("Memory.txt", "DEM Caisse\r\n100\r\n51,13\r\n");
    EXPECT_EQ(LoadList(Path("Memory.txt"), kMemoryFields, '.'), (Records{{"DEM Caisse", "100", "51.13"}}));
}

TEST_F(ListFileTest, ShortRecordsAndBlankLinesBecomeRows) {
    WriteBytes("a.txt", "USD Dollar\r\n1,1\r\nGBP Livre\r\n");
    EXPECT_EQ(LoadList(Path("a.txt"), kRateFields, ','), (Records{{"USD Dollar", "1,1"}, {"GBP Livre", ""}}));
    WriteBytes("b.txt", "TVA\r\n20,6\r\n\r\n");
    EXPECT_EQ(LoadList(Path("b.txt"), kRateFields, ','), (Records{{"TVA", "20,6"}, {"", ""}}));
    WriteBytes("c.txt", "");
    EXPECT_EQ(LoadList(Path("c.txt"), kRateFields, ','), Records{});
    EXPECT_EQ(LoadList(Path("none.txt"), kRateFields, ','), std::nullopt);
}

TEST_F(ListFileTest, SavesEveryFieldAsACrLfLineInTheOrderGiven) {
    SaveList(Path("Memory.txt"), {{"DEM", "1", "0,51"}, {"", "", ""}, {"FRF Loyer\r\n€", "3000", "457,35"}});
    EXPECT_EQ(Bytes("Memory.txt"), "DEM\r\n1\r\n0,51\r\n\r\n\r\n\r\nFRF Loyer  \x80\r\n3000\r\n457,35\r\n");
    EXPECT_EQ(LoadList(Path("Memory.txt"), kMemoryFields, ','),
              (Records{{"DEM", "1", "0,51"}, {"", "", ""}, {"FRF Loyer  €", "3000", "457,35"}}));
}

// A list saved by any editor keeps all its rows, and is written back the program's way.
TEST_F(ListFileTest, ReadsLinesEndedByLfCrOrBothAndSavesThemWithCrLf) {
    struct Row {
        const char* name;
        const char* bytes;
    };
    const Row rows[] = {
        {"LF", "USD Dollar\n1,1\nGBP Livre\n0,85\n"},
        {"CR", "USD Dollar\r1,1\rGBP Livre\r0,85\r"},
        {"CR LF", "USD Dollar\r\n1,1\r\nGBP Livre\r\n0,85\r\n"},
        {"mixed, no end on the last line", "USD Dollar\n1,1\r\nGBP Livre\r0,85"},
        {"Ctrl+Z, then what follows it", "USD Dollar\r\n1,1\r\nGBP Livre\r\n0,85\r\n\x1a\r\nJPY Yen\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes("Rates.txt", row.bytes);
        const auto records = LoadList(Path("Rates.txt"), kRateFields, ',');
        ASSERT_EQ(records, (Records{{"USD Dollar", "1,1"}, {"GBP Livre", "0,85"}}));
        SaveList(Path("Rates.txt"), *records);
        EXPECT_EQ(Bytes("Rates.txt"), "USD Dollar\r\n1,1\r\nGBP Livre\r\n0,85\r\n");
    }
}

TEST_F(ListFileTest, KeepsTheBytesTheCodePageLeavesUndefined) {
    const std::string bytes = "XYZ \x81\x8d\x8f\x90\x9d\r\n1,5\r\n";
    WriteBytes("Rates.txt", bytes);
    SaveList(Path("Rates.txt"), *LoadList(Path("Rates.txt"), kRateFields, ','));
    EXPECT_EQ(Bytes("Rates.txt"), bytes);
}

TEST_F(ListFileTest, AFailedSaveLeavesTheOldListWhole) {
    const std::string original = "USD Dollar\r\n1,1\r\n";
    WriteBytes("Rates.txt", original);
    WithFileSizeLimit(100, [&] {
        EXPECT_THROW(SaveList(Path("Rates.txt"), Records(50, {"CHF Franc suisse", "0,93"})), FileError);
    });
    EXPECT_EQ(Bytes("Rates.txt"), original);
    EXPECT_TRUE(NoTemporaryLeft());
}

}  // namespace
}  // namespace devical::storage::testing
