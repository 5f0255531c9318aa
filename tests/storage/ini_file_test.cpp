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
                                 "W=7 [H]\r\n[Calcul]\r\nDup=first\r\nDup=second\r\nLast=end");
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"Dialog", "Lib_HT", "Montant HT"},
        {"Dialog", "Nb_Dec", "default"},  // empty value reads as the default
        {"dialog", "Lib_HT", "default"},  // exact letter case when reading
        {"DIALOG", "Lib_TTC", "caps"},
        {"A", "Y", "2"},            // the key scan runs past the end of its section
        {"B", "Rate", "te=5"},      // "Rate=" occurs in TaxRate=5; cut after 5 characters
        {"B", "Title", "default"},  // blanks around "=" make no entry
        {"B", "V", "a=b"},
        {"H", "W", "7 [H]"},  // the key scan starts on the header line itself
        {"Calcul", "Dup", "first"},
        {"Calcul", "Last", "end"},  // last line, without a line end
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

TEST_F(IniFileTest, EndsLinesAtCrLfCrOrLfAndTheFileAtCtrlZ) {
    const auto path = WriteBytes("f.ini", "[S]\rK=1\nM=2\r\nL=3\n\x1aN=4\r\n");
    EXPECT_EQ(IniRead(path, "S", "K", "none"), "1");
    EXPECT_EQ(IniRead(path, "S", "M", "none"), "2");
    EXPECT_EQ(IniRead(path, "S", "L", "none"), "3");
    EXPECT_EQ(IniRead(path, "S", "N", "none"), "none");
}

// The line written ends as most of the file's lines do, CR LF when none leads; every other
// line keeps its bytes and its own line end.
TEST_F(IniFileTest, WritesEntriesWhereTheFileExpectsThem) {
    struct Row {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* after;
    };
    const char* crLf = "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n";
    const char* lf = "[A]\nX=1\n[B]\nY=2\n";
    const Row rows[] = {
        {"replace", crLf, "A", "X", "[A]\r\nX=9\r\n\r\n[B]\r\nY=2\r\n"},
        {"in front of the next header", crLf, "A", "Y", "[A]\r\nX=1\r\n\r\nY=9\r\n[B]\r\nY=2\r\n"},
        {"at the end for the last section", crLf, "B", "Z", "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\nZ=9\r\n"},
        {"upper-case match of section and key", crLf, "a", "x", "[A]\r\nx=9\r\n\r\n[B]\r\nY=2\r\n"},
        {"missing section goes at the end", crLf, "C", "X", "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n[C]\r\nX=9\r\n"},
        {"LF, replace", lf, "A", "X", "[A]\nX=9\n[B]\nY=2\n"},
        {"LF, in front of the next header", lf, "A", "Z", "[A]\nX=1\nZ=9\n[B]\nY=2\n"},
        {"LF, at the end", lf, "B", "Z", "[A]\nX=1\n[B]\nY=2\nZ=9\n"},
        {"mostly LF", "[A]\r\nX=1\n[B]\nY=2\r\nW=3\n", "A", "Z", "[A]\r\nX=1\nZ=9\n[B]\nY=2\r\nW=3\n"},
        {"CR", "[A]\rX=1\r[B]\rY=2\r", "A", "X", "[A]\rX=9\r[B]\rY=2\r"},
        {"LF and CR tie", "[A]\r\nX=1\n\r[B]\rY=2\n", "B", "Z", "[A]\r\nX=1\n\r[B]\rY=2\nZ=9\r\n"},
        {"no end on an untouched last line", "[A]\nX=1\n[B]\nY=2", "A", "X", "[A]\nX=9\n[B]\nY=2"},
        {"no end on the replaced last line", "[A]\nX=1", "A", "X", "[A]\nX=9\n"},
        {"no end on a last line written after", "[A]\nX=1", "A", "Z", "[A]\nX=1\nZ=9\n"},
        {"what follows Ctrl+Z", "[A]\nX=1\x1a[B]\r\n", "A", "Z", "[A]\nX=1\nZ=9\n\x1a[B]\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes("DEVICAL.INI", row.before);
        IniWrite(path, row.section, row.key, "9");
        EXPECT_EQ(Bytes("DEVICAL.INI"), row.after);
    }
}

TEST_F(IniFileTest, AddsAMissingSectionAtTheEndOfTheFile) {
    struct Row {
        const char* name;
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {"CR LF", "[Dialog]\r\nLib_HT=Net\r\n", "[Dialog]\r\nLib_HT=Net\r\n[Windows]\r\nSize=3\r\n"},
        {"LF", "[Dialog]\nLib_HT=Net\n", "[Dialog]\nLib_HT=Net\n[Windows]\nSize=3\n"},
        {"no end on the last line", "[Dialog]\nLib_HT=Net", "[Dialog]\nLib_HT=Net\n[Windows]\nSize=3\n"},
        {"empty file", "", "[Windows]\r\nSize=3\r\n"},
        {"only after Ctrl+Z", "\x1a[Windows]\r\nSize=1\r\n", "[Windows]\r\nSize=3\r\n\x1a[Windows]\r\nSize=1\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes("DEVICAL.INI", row.before);
        IniWrite(path, "Windows", "Size", "3");
        EXPECT_EQ(Bytes("DEVICAL.INI"), row.after);
        EXPECT_EQ(IniRead(path, "Windows", "Size", ""), "3");
    }
}

TEST_F(IniFileTest, ReplacesOnlyTheFirstOfTwoEntries) {
    const auto path = WriteBytes("f.ini", "[S]\r\nK=1\r\nK=2\r\n");
    IniWrite(path, "S", "K", "3");
    EXPECT_EQ(Bytes("f.ini"), "[S]\r\nK=3\r\nK=2\r\n");
    EXPECT_EQ(IniRead(path, "S", "K", ""), "3");
}

TEST_F(IniFileTest, KeepsWindows1252Bytes) {
    const auto path = WriteBytes("f.ini",
                                 "[Dialogs]\r\nDeviation_No=Pas d'\xe9"
                                 "cart\r\n[Memory]\r\n");
    EXPECT_EQ(IniRead(path, "Dialogs", "Deviation_No", ""), "Pas d'écart");
    IniWrite(path, "Memory", "Title", "EUR Caisse 20 €");
    EXPECT_EQ(Bytes("f.ini"),
              "[Dialogs]\r\nDeviation_No=Pas d'\xe9"
              "cart\r\n[Memory]\r\nTitle=EUR Caisse 20 \x80\r\n");
}

// The five bytes the code page leaves undefined come back as the same bytes.
TEST_F(IniFileTest, KeepsTheBytesTheCodePageLeavesUndefined) {
    const std::string undefined = "\x81\x8d\x8f\x90\x9d";
    const auto path = WriteBytes("f.ini", "[Memory]\r\nTitle=XYZ " + undefined + "\r\nCurr=0\r\n");
    IniWrite(path, "Memory", "Curr", "5");
    IniWrite(path, "Memory", "Euro", IniRead(path, "Memory", "Title", ""));
    EXPECT_EQ(Bytes("f.ini"), "[Memory]\r\nTitle=XYZ " + undefined + "\r\nCurr=5\r\nEuro=XYZ " + undefined + "\r\n");
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
    EXPECT_TRUE(NoTemporaryLeft());
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
