#include "storage/ini_file.h"
#include "storage/list_model.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

class TextEncodingTest : public TempDirTest {};

// A file is written back in the code it was read in, a list with the line end most of its
// lines had; the settings file takes a new key, a list a new row. A letter Windows-1252 lacks
// ("ł") turns the whole file to UTF-8 instead of to a '?'; a UTF-8 line in a Windows-1252
// file reads in its own code, and goes back in it when another line changes.
TEST_F(TextEncodingTest, FilesAreWrittenBackInTheCodeTheyWereReadInOrWholeInUtf8) {
    struct Row {
        const char* name;
        const char* file;
        const char* before;
        const char* read;  // the settings' tax title, or the list's first title
        const char* after;
        const char* added = "Zone € ł";
    };
    const Row rows[] = {
        {"UTF-8 list", "Taxes.txt", "TVA taux réduit\n5,5\n", "TVA taux réduit", "TVA taux réduit\n5,5\nZone € ł\n1\n"},
        {"Windows-1252 list", "Taxes.txt", "Imp\xf4t\r\n5,5\r\n", "Impôt", "Impôt\r\n5,5\r\nZone € ł\r\n1\r\n"},
        {"ASCII list", "Taxes.txt", "TVA\r20\r", "TVA", "TVA\r20\rZone € ł\r1\r"},
        {"overlong form", "Taxes.txt", "Prix \xe0\x80\xa9\n1\r\n", "Prix à€©",
         "Prix à€©\r\n1\r\nZone € ł\r\n1\r\n"},  // LF and CR LF tie
        {"UTF-8 line in a Windows-1252 list", "Taxes.txt", "Caf\xc3\xa9\r\n1\r\nImp\xf4t\r\n5,5\r\n", "Café",
         "Café\r\n1\r\nImpôt\r\n5,5\r\nZone € ł\r\n1\r\n"},
        {"UTF-8 line kept in a Windows-1252 list", "Taxes.txt", "Caf\xc3\xa9\r\n1\r\nImp\xf4t\r\n5,5\r\n", "Café",
         "Caf\xc3\xa9\r\n1\r\nImp\xf4t\r\n5,5\r\nZone \x80\r\n1\r\n", "Zone €"},
        {"UTF-8 line kept in Windows-1252 settings", "DEVICAL.INI", "[Taxe]\r\nTitle=Caf\xc3\xa9\r\nOld=Imp\xf4t\r\n",
         "Café", "[Taxe]\r\nTitle=Caf\xc3\xa9\r\nOld=Imp\xf4t\r\nNote=Zone \x80\r\n", "Zone €"},
        {"byte-order mark list", "Taxes.txt", "\xef\xbb\xbfTVA\n20\n", "TVA", "\xef\xbb\xbfTVA\n20\nZone € ł\n1\n"},
        {"UTF-8 settings", "DEVICAL.INI", "[Taxe]\r\nTitle=TVA taux réduit\r\n", "TVA taux réduit",
         "[Taxe]\r\nTitle=TVA taux réduit\r\nNote=Zone € ł\r\n"},
        {"UTF-8 settings cut by characters", "DEVICAL.INI", "[Taxe]\r\né Title=TVA\r\n", "e=TVA",  // six characters off
         "[Taxe]\r\né Title=TVA\r\nNote=Zone € ł\r\n"},
        {"Windows-1252 settings", "DEVICAL.INI", "[Taxe]\r\nTitle=Imp\xf4t\r\n", "Impôt",
         "[Taxe]\r\nTitle=Impôt\r\nNote=Zone € ł\r\n"},
        {"byte-order mark settings", "DEVICAL.INI", "\xef\xbb\xbf[Taxe]\r\nTitle=TVA\r\n", "TVA",
         "\xef\xbb\xbf[Taxe]\r\nTitle=TVA\r\nNote=Zone € ł\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes(row.file, row.before);
        if (std::string(row.file) == "DEVICAL.INI") {
            EXPECT_EQ(IniRead(path, "Taxe", "Title", ""), row.read);
            IniWrite(path, "Taxe", "Note", row.added);
        } else {
            ListModel list(ListKind::Taxes,
                           Collation([](std::string_view a, std::string_view b) { return a.compare(b); },
                                     [](std::string_view title) { return std::string(title); }));
            ASSERT_TRUE(list.LoadList(path, ','));
            EXPECT_EQ(list.Row(0).title, row.read);
            list.Append({row.added, "1"});
            list.SaveList(path, ',');
        }
        EXPECT_EQ(Bytes(row.file), row.after);
    }
}

}  // namespace
}  // namespace devical::storage::testing
