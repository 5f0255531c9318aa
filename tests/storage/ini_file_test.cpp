#include "storage/ini_file.h"

#include <sys/stat.h>

#include "storage/file_io.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

class IniFileTest : public TempDirTest {};

TEST_F(IniFileTest, ReadsWithTheProgramsOwnMatchingRules) {
    const auto path = WriteBytes("DEVICAL.INI",
                                 "[Dialog]\r\nLib_HT=Montant HT\r\nNb_Dec=\r\n[DIALOG]\r\nLib_TTC=caps\r\n"
                                 "[A]\r\nX=1\r\n[B]\r\nY=2\r\nTaxRate=5\r\nTitle = Taxe\r\nV=a=b\r\n"
                                 "[Calcul]\r\nDup=first\r\nDup=second\r\nLast=end");
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"Dialog", "Lib_HT", "Montant HT"},
        {"Dialog", "Nb_Dec", "default"},     // empty value reads as the default
        {"dialog", "Lib_HT", "default"},     // exact letter case when reading
        {"DIALOG", "Lib_TTC", "caps"},
        {"A", "Y", "2"},                     // the key scan runs past the end of its section
        {"B", "Rate", "te=5"},               // "Rate=" occurs in TaxRate=5; cut after 5 characters
        {"B", "Title", "default"},           // blanks around "=" make no entry
        {"B", "V", "a=b"},
        {"Calcul", "Dup", "first"},
        {"Calcul", "Last", "end"},           // last line, without a line end
        {"Nowhere", "X", "default"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.section) + "/" + row.key);
        EXPECT_EQ(IniRead(path, row.section, row.key, "default"), row.value);
    }
}

TEST_F(IniFileTest, ReadsTheLastFindWhenTheSectionComesAgain) {
    const auto path = WriteBytes("f.ini", "[S]\r\nK=1\r\n[T]\r\n[S]\r\nK=2\r\n");
    EXPECT_EQ(IniRead(path, "S", "K", ""), "2");
}

TEST_F(IniFileTest, EndsLinesAtCarriageReturnsAndTheFileAtCtrlZ) {
    const auto path = WriteBytes("f.ini", "[S]\rK=1\nM=2\r\n\x1aN=3\r\n");
    EXPECT_EQ(IniRead(path, "S", "K", "none"), "1\nM=2");  // a line feed alone ends no line
    EXPECT_EQ(IniRead(path, "S", "N", "none"), "none");
}

TEST_F(IniFileTest, WritesEntriesWhereTheFileExpectsThem) {
    struct Row {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const char* before = "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n";
    const Row rows[] = {
        {"replace", "A", "X", "9", "[A]\r\nX=9\r\n\r\n[B]\r\nY=2\r\n"},
        {"in front of the next header", "A", "Y", "3", "[A]\r\nX=1\r\n\r\nY=3\r\n[B]\r\nY=2\r\n"},
        {"at the end for the last section", "B", "Z", "4", "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\nZ=4\r\n"},
        {"upper-case match of section and key", "a", "x", "5", "[A]\r\nx=5\r\n\r\n[B]\r\nY=2\r\n"},
        {"missing section adds nothing", "C", "X", "6", before},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes("DEVICAL.INI", before);
        IniWrite(path, row.section, row.key, row.value);
        EXPECT_EQ(Bytes("DEVICAL.INI"), row.after);
    }
}

TEST_F(IniFileTest, ReplacesOnlyTheFirstOfTwoEntries) {
    const auto path = WriteBytes("f.ini", "[S]\r\nK=1\r\nK=2\r\n");
    IniWrite(path, "S", "K", "3");
    EXPECT_EQ(Bytes("f.ini"), "[S]\r\nK=3\r\nK=2\r\n");
    EXPECT_EQ(IniRead(path, "S", "K", ""), "3");
}

TEST_F(IniFileTest, KeepsWindows1252Bytes) {
    const auto path = WriteBytes("f.ini", "[Dialogs]\r\nDeviation_No=Pas d'\xe9""cart\r\n[Memory]\r\n");
    EXPECT_EQ(IniRead(path, "Dialogs", "Deviation_No", ""), "Pas d'écart");
    IniWrite(path, "Memory", "Title", "EUR Caisse 20 €");
    EXPECT_EQ(Bytes("f.ini"), "[Dialogs]\r\nDeviation_No=Pas d'\xe9""cart\r\n[Memory]\r\nTitle=EUR Caisse 20 \x80\r\n");
}

TEST_F(IniFileTest, AValueStaysOnItsOwnLine) {
    const auto path = WriteBytes("f.ini", "[Dialog]\r\n[Windows]\r\nSize=1\r\n");
    IniWrite(path, "Dialog", "Lib_HT", "Net\r\n[Windows]\r\nSize=3\x1a");
    EXPECT_EQ(Bytes("f.ini"), "[Dialog]\r\nLib_HT=Net  [Windows]  Size=3 \r\n[Windows]\r\nSize=1\r\n");
    EXPECT_EQ(IniRead(path, "Windows", "Size", ""), "1");
}

TEST_F(IniFileTest, DoesNotRewriteAFileThatWouldComeOutTheSame) {
    const auto path = WriteBytes("f.ini", "[Windows]\r\nSize=1\r\n");
    struct stat before {};
    ::stat(path.c_str(), &before);
    IniWrite(path, "Windows", "Size", "1");
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(IniFileTest, RewritesThroughTheLinkAndKeepsTheLink) {
    WriteBytes("real.ini", "[S]\r\nK=1\r\n");
    std::filesystem::create_symlink(Path("real.ini"), Path("DEVICAL.INI"));
    IniWrite(Path("DEVICAL.INI"), "S", "K", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(Path("DEVICAL.INI")));
    EXPECT_EQ(Bytes("real.ini"), "[S]\r\nK=2\r\n");
}

TEST_F(IniFileTest, KeepsThePermissionsOfTheFile) {
    const auto path = WriteBytes("f.ini", "[S]\r\nK=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    IniWrite(path, "S", "K", "2");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    const std::string original = "[Memory]\r\nTitle=" + std::string(3000, 'a') + "\r\n";
    const auto path = WriteBytes("DEVICAL.INI", original);

    // The disk fills up half-way through the temporary file.
    WithFileSizeLimit(1000, [&] {
        try {
            IniWrite(path, "Memory", "Title", std::string(5000, 'b'));
            ADD_FAILURE() << "the write reported success";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find("DEVICAL.INI"), std::string::npos);
        }
    });
    EXPECT_EQ(Bytes("DEVICAL.INI"), original);
    EXPECT_FALSE(std::filesystem::exists(Path("DEVICAL.Old")));

    // The temporary file cannot even be created.
    std::filesystem::create_directory(Path("DEVICAL.Old"));
    EXPECT_THROW(IniWrite(path, "Memory", "Title", "x"), FileError);
    EXPECT_EQ(Bytes("DEVICAL.INI"), original);
}

TEST_F(IniFileTest, AMissingFileIsAnError) {
    EXPECT_THROW(IniRead(Path("none.ini"), "S", "K", ""), FileError);
    EXPECT_THROW(IniWrite(Path("none.ini"), "S", "K", "v"), FileError);
    EXPECT_FALSE(std::filesystem::exists(Path("none.ini")));
}

TEST_F(IniFileTest, FindsFilesWhateverTheLetterCaseOfTheirNames) {
    WriteBytes("devical.ini", "");
    EXPECT_EQ(FindFileNoCase(dir_, "DEVICAL.INI"), Path("devical.ini"));
    EXPECT_EQ(FindFileNoCase(dir_, "Rates.txt"), Path("Rates.txt"));  // absent: the canonical name
}

}  // namespace
}  // namespace devical::storage::testing
