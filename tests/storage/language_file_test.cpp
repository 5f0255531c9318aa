#include "storage/language_file.h"

#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

class LanguageFileTest : public TempDirTest {};

TEST_F(LanguageFileTest, TheCatalogueTakesTheFilesTextsOverTheBuiltInOnesOfItsLanguage) {
    const LanguageFile file(WriteBytes("DEVICAL.LAN", "[Dialogs]\r\nLangue=AN\r\nDeviation_No=No deviation\r\n"));
    const auto catalogue = file.Catalogue();
    EXPECT_EQ(catalogue.MessageText("Deviation_No"), "No deviation");
    EXPECT_EQ(catalogue.MessageText("WantDelRow"), "Do you want to delete the line");
    EXPECT_EQ(catalogue.MessageText("Dev_Mem3"), "Stop");
    EXPECT_EQ(file.InstalledLanguage(), "AN");
}

TEST_F(LanguageFileTest, MissingKeysBlankTheTextUnlessADefaultIsGiven) {
    const LanguageFile file(WriteBytes("DEVICAL.LAN",
                                       "[Main_Face]\r\n[Rates2_Face]\r\nOK=Valider\r\n"
                                       "[Taxes2_Face]\r\nTitle=Saisie Taxe\r\n"));
    EXPECT_EQ(file.Text("Main_Tips", "Bt_Copy"), "");
    EXPECT_EQ(file.Text("Main_Tips", "Bt_BackSpace", "BackSpace"), "BackSpace");
    EXPECT_EQ(file.Text("Main_Face", "Lst_Memory", "&Memory"), "&Memory");
    EXPECT_EQ(file.InstalledLanguage(), "FR");
    // A section without its key takes the first later line that has it.
    EXPECT_EQ(file.Text("Rates2_Face", "Title"), "Saisie Taxe");
}

// A file older than a window's texts: they come built in, in the file's language.
TEST_F(LanguageFileTest, TextsNewerThanTheFileComeBuiltInInItsLanguage) {
    const LanguageFile file(WriteBytes("DEVICAL.LAN", "[Dialogs]\r\nLangue=GM\r\n[Tape_Face]\r\nNet=\r\n"));
    EXPECT_EQ(file.Text("Tape_Face", "Title"), "Rechenstreifen");
    EXPECT_EQ(file.Text("Tape_Face", "Net"), "Netto");
    EXPECT_EQ(file.Text("Main_Tips", "Bt_Tape"), "Rechenstreifen (R)");
    EXPECT_EQ(file.Text("Tape_Face", "Title", "Given"), "Given");
}

}  // namespace
}  // namespace devical::storage::testing
