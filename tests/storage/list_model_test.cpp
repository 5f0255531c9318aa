#include "storage/list_model.h"

#include <cctype>
#include <random>

#include "storage/settings.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

using Records = std::vector<ListRecord>;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Case is ignored: "dem minuscule" sorts among the D's, where byte order would put it last.
Collation IgnoringCase(int* keysComputed = nullptr) {
    return Collation([](std::string_view a, std::string_view b) { return Lower(a).compare(Lower(b)); },
                     [keysComputed](std::string_view title) {
                         if (keysComputed) ++*keysComputed;
                         return Lower(title);
                     });
}

Collation ByteOrder() {
    return Collation([](std::string_view a, std::string_view b) { return a.compare(b); },
                     [](std::string_view title) { return std::string(title); });
}

std::vector<std::string> Titles(const ListModel& list) {
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < list.Size(); ++i)
        titles.push_back(list.Row(i).title);
    return titles;
}

class ListModelTest : public TempDirTest {
protected:
    ListModel Loaded(ListKind kind, const std::string& bytes, Collation collation = IgnoringCase()) {
        ListModel list(kind, std::move(collation));
        EXPECT_TRUE(list.LoadList(WriteBytes("list.txt", bytes), ','));
        return list;
    }
    ListModel Rates(Collation collation = IgnoringCase()) {
        return Loaded(ListKind::Currencies,
                      "USD Dollar\r\n1.08\r\nDEM Mark allemand\r\n1,95583\r\ndem minuscule\r\n2\r\nFRF Franc fran\xe7"
                      "ais\r\n6,55957\r\n",
                      std::move(collation));
    }
};

TEST_F(ListModelTest, LoadsInTheOrderOfTheCollationGiven) {
    EXPECT_EQ(Titles(Rates()),
              (std::vector<std::string>{"DEM Mark allemand", "dem minuscule", "FRF Franc français", "USD Dollar"}));
    EXPECT_EQ(Titles(Rates(ByteOrder())),
              (std::vector<std::string>{"DEM Mark allemand", "FRF Franc français", "USD Dollar", "dem minuscule"}));
}

TEST_F(ListModelTest, NewRowsStayAtTheEndUntilTheSaveWritesTitleOrder) {
    ListModel list = Rates();
    list.Insert("FRF Franc français");
    list.Append({"CHF Franc suisse", "0,93"});
    EXPECT_FALSE(list.IsSorted());
    EXPECT_EQ(list.Records().back(), (ListRecord{"CHF Franc suisse", "0,93"}));
    EXPECT_EQ(list.Records()[4], (ListRecord{"XXX Nouvelle devise", "1"}));
    list.SaveList(Path("list.txt"), ',');
    EXPECT_TRUE(list.IsSorted());
    EXPECT_EQ(Bytes("list.txt"),
              "CHF Franc suisse\r\n0,93\r\nDEM Mark allemand\r\n1,95583\r\ndem minuscule\r\n2\r\n"
              "FRF Franc fran\xe7"
              "ais\r\n6,55957\r\nUSD Dollar\r\n1,08\r\nXXX Nouvelle devise\r\n1\r\n");
}

TEST_F(ListModelTest, EqualTitlesKeepTheirOrder) {
    ListModel list = Loaded(ListKind::Taxes, "b\r\n1\r\nTVA\r\n2\r\na\r\n3\r\ntva\r\n4\r\n");
    list.Append({"Tva", "5"});
    list.Append({"A", "6"});
    list.Sort();
    EXPECT_EQ(list.Records(), (Records{{"a", "3"}, {"A", "6"}, {"b", "1"}, {"TVA", "2"}, {"tva", "4"}, {"Tva", "5"}}));
}

// A saved list comes back sorted: sorting it again would only cost time.
TEST_F(ListModelTest, OnlyTheRowsOutOfOrderAreSortedByKey) {
    int keys = 0;
    ListModel list = Loaded(ListKind::Taxes, "a\r\n1\r\nb\r\n2\r\nc\r\n3\r\nd\r\n4\r\n", IgnoringCase(&keys));
    EXPECT_EQ(keys, 0);
    EXPECT_TRUE(list.Sort().empty());
    list.Append({"bb", "5"});
    list.Append({"0", "6"});
    EXPECT_EQ(list.Sort(), (std::vector<std::uint32_t>{5, 0, 1, 4, 2, 3}));
    EXPECT_EQ(keys, 2);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"0", "a", "b", "bb", "c", "d"}));
}

// Once a row has been added, an edit leaves its row where it is until the save sorts the list.
TEST_F(ListModelTest, RowsRenamedWhileTheListWaitsForItsSortAreSortedWithTheNewOnes) {
    int keys = 0;
    ListModel list = Loaded(ListKind::Taxes, "a\r\n1\r\nb\r\n2\r\nc\r\n3\r\nd\r\n4\r\n", IgnoringCase(&keys));
    list.Append({"bb", "5"});
    RowEdit a = list.EditFor(0);
    a.title = "e";
    EXPECT_EQ(list.Store(a).to, 0u);
    RowEdit c = list.EditFor(2);
    c.amounts = {"30"};  // the title unchanged: the row keeps its place
    list.Store(c);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"e", "b", "c", "d", "bb"}));
    list.Sort();
    EXPECT_EQ(list.Records(), (Records{{"b", "2"}, {"bb", "5"}, {"c", "30"}, {"d", "4"}, {"e", "1"}}));
    EXPECT_EQ(keys, 2);
}

// Rows inserted, deleted or moved meanwhile cannot redirect an edit.
TEST_F(ListModelTest, AnEditGoesBackToItsRowWhereverItIs) {
    ListModel list = Rates();
    const RowEdit usd = list.EditFor(3);
    EXPECT_EQ(usd.title, "USD Dollar");
    EXPECT_EQ(usd.amounts, (std::vector<std::string>{"1,08"}));
    EXPECT_FALSE(usd.memoryPrefix);
    RowEdit dem = list.EditFor(0);
    dem.title = "ZAR Rand";
    dem.amounts = {"20"};
    EXPECT_EQ(list.Store(dem).to, 3u);  // moved after USD
    list.Delete(0);
    RowEdit edited = usd;
    edited.amounts = {"1,1"};
    const auto move = list.Store(edited);
    EXPECT_EQ(move.from, std::optional<std::size_t>(1));
    EXPECT_EQ(move.to, 1u);
    EXPECT_EQ(list.Records(), (Records{{"FRF Franc français", "6,55957"}, {"USD Dollar", "1,1"}, {"ZAR Rand", "20"}}));
}

// What a stable sort of the whole list would give, for each row renamed to each title.
TEST_F(ListModelTest, AnEditedRowMovesWhereASortWouldPutIt) {
    const std::string file = "a\r\n1\r\nB\r\n2\r\nb\r\n3\r\nc\r\n4\r\nC\r\n5\r\nd\r\n6\r\n";
    for (std::size_t row = 0; row < 6; ++row) {
        for (const char* title : {"0", "A", "b", "BB", "c", "e"}) {
            SCOPED_TRACE(std::to_string(row) + " " + title);
            ListModel list = Loaded(ListKind::Taxes, file);
            ListModel expected = Loaded(ListKind::Taxes, file);
            RowEdit edit = list.EditFor(row);
            edit.title = title;
            EXPECT_EQ(list.PlaceFor(edit).to, list.Store(edit).to);
            expected.Delete(row);
            expected.Append({title, std::to_string(row + 1)});
            // The renamed row sorts as if it had kept its place in the file.
            Records records = expected.Records();
            records.insert(records.begin() + static_cast<std::ptrdiff_t>(row), records.back());
            records.pop_back();
            std::stable_sort(records.begin(), records.end(),
                             [](const ListRecord& x, const ListRecord& y) { return Lower(x[0]) < Lower(y[0]); });
            EXPECT_EQ(list.Records(), records);
        }
    }
}

TEST_F(ListModelTest, ARowDeletedUnderItsEditComesBack) {
    ListModel list = Rates();
    RowEdit dem = list.EditFor(0);
    list.Delete(0);
    dem.amounts = {"1,96"};
    EXPECT_EQ(list.Store(dem).to, 0u);  // a sorted list: at its title's place
    EXPECT_EQ(list.Records().front(), (ListRecord{"DEM Mark allemand", "1,96"}));
    list.Insert("");
    list.Delete(0);
    dem.title = "AUD Dollar australien";
    EXPECT_EQ(list.Store(dem).to, 4u);  // unsorted since the insert: at the end
    dem.amounts = {"1,6"};
    list.Store(dem);  // and the next store finds it
    EXPECT_EQ(list.Size(), 5u);
    EXPECT_EQ(list.Records().back(), (ListRecord{"AUD Dollar australien", "1,6"}));
}

TEST_F(ListModelTest, CurrencyRowsAreLockedByTheirCodeAsTheFileNamesIt) {
    ListModel rates = Rates();
    EXPECT_TRUE(rates.Row(0).locked);   // DEM Mark allemand
    EXPECT_FALSE(rates.Row(1).locked);  // dem minuscule
    EXPECT_TRUE(rates.Row(2).locked);   // FRF
    EXPECT_FALSE(rates.Row(3).locked);  // USD
    RowEdit usd = rates.EditFor(3);
    usd.title = "ITL Lire";
    rates.Store(usd);
    rates.Append({"BEF Franc belge", "40,3399"});
    EXPECT_EQ(rates.Row(3).title, "ITL Lire");
    EXPECT_FALSE(rates.Row(3).locked);  // until the list is next loaded
    EXPECT_FALSE(rates.Row(4).locked);
    rates.SaveList(Path("list.txt"), ',');
    ListModel again(ListKind::Currencies, IgnoringCase());
    again.LoadList(Path("list.txt"), ',');
    EXPECT_EQ(again.Row(0).title, "BEF Franc belge");
    EXPECT_TRUE(again.Row(0).locked);
    EXPECT_TRUE(again.Row(4).locked);  // ITL Lire

    const ListModel taxes = Loaded(ListKind::Taxes, "DEM\r\n1\r\n");
    EXPECT_FALSE(taxes.Row(0).locked);
}

TEST_F(ListModelTest, EachListHasItsPlaceholder) {
    ListModel taxes(ListKind::Taxes, IgnoringCase());
    taxes.Insert("FRF Franc");
    EXPECT_EQ(taxes.Records(), (Records{{"Titre taxe", "0"}}));
    ListModel saved(ListKind::SavedAmounts, IgnoringCase());
    saved.Insert("\xe2\x82\xac\xc2\xa5$ Ecu");  // three characters and a blank, five bytes before it
    EXPECT_EQ(saved.Records(), (Records{{"\xe2\x82\xac\xc2\xa5$ Titre", "0", "0"}}));
}

TEST_F(ListModelTest, SavedAmountsAreEditedWithoutTheirCurrencyPrefix) {
    ListModel saved = Loaded(ListKind::SavedAmounts, "DEM Loyer\r\n1000\r\n511.29\r\nFRF\r\n1\r\n2\r\n");
    const RowEdit loyer = saved.EditFor(0);
    EXPECT_EQ(loyer.title, "Loyer");
    EXPECT_EQ(loyer.memoryPrefix, std::optional<std::string>("DEM "));
    EXPECT_EQ(loyer.amounts, (std::vector<std::string>{"1000", "511,29"}));
    EXPECT_EQ(saved.EditFor(1).title, "");
    EXPECT_EQ(saved.EditFor(1).memoryPrefix, std::optional<std::string>("FRF"));
}

TEST_F(ListModelTest, ChoosingARowGivesItsSettingsAndRate) {
    const ListModel rates = Loaded(ListKind::Currencies, "DEM Mark\r\n1.95583\r\nXYZ Test\r\n1.2.3\r\n");
    const auto dem = std::get<CurrencyChoice>(rates.Choose(0, ','));
    EXPECT_EQ(dem.title, "DEM Mark");
    EXPECT_EQ(dem.rateText, "1,95583");
    EXPECT_EQ(engine::AmountText(dem.rate, '.'), "1.95583");
    EXPECT_EQ(std::get<UnreadableRate>(rates.Choose(1, ',')).message,
              "'1,2.3' n'est pas une valeur flottante correcte");
    const ListModel taxes = Loaded(ListKind::Taxes,
                                   "TVA r\xe9"
                                   "duite\r\n5,5\r\n");
    EXPECT_EQ(engine::AmountText(std::get<TaxChoice>(taxes.Choose(0, ',')).rate, ','), "5,5");

    const SettingsFile settings(WriteBytes("DEVICAL.INI", "[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n[Memory]\r\n"));
    const auto WriteChoice = [](const SettingsFile& file, const RowChoice& choice) {
        file.WriteOne([&](SettingsChanges& changes) { AddChoice(changes, choice); });
    };
    WriteChoice(settings, taxes.Choose(0, ','));
    WriteChoice(settings, Loaded(ListKind::SavedAmounts, "DEM Loyer\r\n1000\r\n511,29\r\n").Choose(0, ','));
    WriteChoice(settings, rates.Choose(1, ','));  // writes nothing
    EXPECT_EQ(Bytes("DEVICAL.INI"),
              "[Taxe]\r\nTitle=TVA r\xe9"
              "duite\r\nRate=5,5\r\n[Memory]\r\nTitle=DEM Loyer\r\n"
              "Curr=1000\r\nEuro=511,29\r\n");
    WriteChoice(settings, dem);
    EXPECT_TRUE(Bytes("DEVICAL.INI").ends_with("[Currency]\r\nTitle=DEM Mark\r\nRate=1,95583\r\n"));
}

// Random steps over each kind, from a file whose last record is cut short, with records and
// edits of every length: each row keeps its kind's fields, and a store is what comes back.
TEST_F(ListModelTest, RandomStepsKeepEveryRowToItsFields) {
    std::mt19937 random(7);
    const auto text = [&random] { return std::string(random() % 3, "aB1,."[random() % 5]); };
    const ListKind kinds[] = {ListKind::SavedAmounts, ListKind::Currencies, ListKind::Taxes};
    for (int run = 0; run < 30; ++run) {
        std::string file;
        for (std::uint32_t line = random() % 12; line > 0; --line)
            file += text() + "\r\n";
        ListModel list = Loaded(kinds[run % 3], file);
        const std::size_t amounts = static_cast<std::size_t>(list.FieldsPerRow() - 1);
        std::vector<RowEdit> edits;  // kept while their rows are deleted
        for (int step = 0; step < 300; ++step) {
            SCOPED_TRACE(std::to_string(run) + " " + std::to_string(step));
            const std::size_t at = list.Size() ? random() % list.Size() : 0;
            const std::uint32_t action = random() % 7;
            if (action == 0) {
                ListRecord record(random() % 6);
                std::generate(record.begin(), record.end(), text);
                list.Append(record);
            } else if (action == 1) {
                list.Insert("DEM Mark");
            } else if (list.Size() == 0) {
                continue;
            } else if (action == 2) {
                list.Delete(at);
            } else if (action == 3) {
                edits.push_back(list.EditFor(at));
                ASSERT_EQ(edits.back().amounts.size(), amounts);
            } else if (action == 4 && !edits.empty()) {
                RowEdit edit = edits[random() % edits.size()];
                edit.title = text();
                edit.amounts.resize(random() % 5);
                std::generate(edit.amounts.begin(), edit.amounts.end(), text);
                const std::size_t to = list.Store(edit).to;
                ASSERT_EQ(list.Row(to).title, edit.title);
                for (std::size_t field = 0; field < std::min(amounts, edit.amounts.size()); ++field)
                    ASSERT_EQ(list.Field(to, static_cast<int>(field + 1)), edit.amounts[field]);
            } else if (action == 5) {
                list.Choose(at, ',');
                ASSERT_EQ(list.Field(at, list.FieldsPerRow()), "");
            } else if (action == 6) {
                const Records before = list.Records();
                const std::vector<std::uint32_t> order = list.Sort();
                const Records after = list.Records();
                for (std::size_t position = 0; position < order.size(); ++position)
                    ASSERT_EQ(after[position], before[order[position]]);
                ASSERT_TRUE(std::is_sorted(after.begin(), after.end(), [](const ListRecord& a, const ListRecord& b) {
                    return Lower(a[0]) < Lower(b[0]);
                }));
            }
        }
    }
}

// A line past kLongestListLine is cut there as the file is read, and the list says so: a
// damaged file of one endless line must not take the memory of its size.
TEST_F(ListModelTest, LongLinesAreCutAndReported) {
    const std::string x4092(4092, 'x');
    std::string more;  // rows enough after a cut to cross the blocks the file is read in
    for (int i = 0; i < 6000; ++i)
        more += "ZAR Rand\r\n1\r\n";
    Records mbRows = {{"GBP Livre", "0,85"}, {"USD " + x4092, "1,1"}};
    mbRows.resize(6002, {"ZAR Rand", "1"});
    const struct {
        const char* name;
        std::string bytes;
        Records rows;
        const char* cut;  // how the message goes on after the file's name
    } rows[] = {
        {"a title of 1 MB", "USD " + std::string(1 << 20, 'x') + "\r\n1,1\r\nGBP Livre\r\n0,85\r\n" + more, mbRows,
         ", ligne 1 : la ligne dépasse 4096 octets"},
        {"UTF-8 across the cut",
         "USD " + x4092.substr(1) + "\xc3\xa9\n1\nZAR \xc3\xa9\n2\n",
         {{"USD " + x4092.substr(1), "1"}, {"ZAR \xc3\xa9", "2"}},
         ", ligne 1 :"},
        {"Ctrl+Z in the part cut",
         "USD " + std::string(100000, 'x') + "\x1a\r\n1\r\nZAR Rand\r\n2\r\n",
         {{"USD " + x4092, ""}},
         ", ligne 1 :"},
        {"two, CR alone",
         "GBP Livre\r0,85\rUSD " + std::string(5000, 'x') + "\r1\rZAR " + x4092 + "zz\r2\r",
         {{"GBP Livre", "0,85"}, {"USD " + x4092, "1"}, {"ZAR " + x4092, "2"}},
         " : 2 lignes dépassent 4096 octets, la première à la ligne 3 ;"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ListModel list = Loaded(ListKind::Currencies, row.bytes);
        EXPECT_EQ(list.Records(), row.rows);
        const std::string message = "Fichier " + Path("list.txt").string() + (row.cut ? row.cut : "");
        EXPECT_EQ(list.Problems().size(), row.cut ? 1u : 0u);
        for (const std::string& problem : list.Problems())
            EXPECT_EQ(problem.substr(0, message.size()), message);
    }
}

TEST_F(ListModelTest, AMissingFileKeepsTheRowsAndTheSaveCreatesIt) {
    ListModel list = Rates();
    EXPECT_FALSE(list.LoadList(Path("none.txt"), ','));
    EXPECT_EQ(list.Size(), 4u);
    ListModel empty(ListKind::SavedAmounts, IgnoringCase());
    EXPECT_FALSE(empty.LoadList(Path("Memory.txt"), ','));
    empty.SaveList(Path("Memory.txt"), ',');
    EXPECT_TRUE(std::filesystem::exists(Path("Memory.txt")));
    EXPECT_EQ(Bytes("Memory.txt"), "");
}

}  // namespace
}  // namespace devical::storage::testing

namespace devical::storage::testing {
namespace {

// The list saved after the user's edits and another writer's (devical-rates, a hand edit,
// another session): what the other wrote is never lost, nor what the user did, row by row.
TEST_F(ListModelTest, AListNeverWritesBackOverANewerFile) {
    const std::string usd = "USD Dollar\r\n1,08\r\n", gbp = "GBP Livre\r\n0,85\r\n", chf = "CHF Franc\r\n0,94\r\n";
    struct Row {
        const char* name;
        std::function<void(ListModel&)> mine;
        std::string theirs;  // the file as the other writer left it; empty: nobody else wrote
        ListModel::Saved saved;
        std::string after;
    };
    const auto edit = [](std::size_t row, const char* title, const char* rate) {
        return [=](ListModel& list) {
            RowEdit changed = list.EditFor(row);
            changed.title = title;
            changed.amounts = {rate};
            list.Store(changed);
        };
    };
    const Row rows[] = {
        {"left unchanged", [](ListModel&) {}, gbp + usd + chf, ListModel::Saved::Nothing, gbp + usd + chf},
        {"mine alone", edit(1, "USD Dollar", "1,09"), "", ListModel::Saved::Written, gbp + "USD Dollar\r\n1,09\r\n"},
        {"added beside a new rate",
         [](ListModel& l) {
             l.Append({"CHF Franc", "0,94"});
         },
         gbp + "USD Dollar\r\n1,10\r\n", ListModel::Saved::Merged, chf + gbp + "USD Dollar\r\n1,10\r\n"},
        {"changed beside a row added", edit(0, "GBP Livre", "0,86"), gbp + usd + chf, ListModel::Saved::Merged,
         chf + "GBP Livre\r\n0,86\r\n" + usd},
        {"renamed while its rate moved", edit(0, "GBP Livre sterling", "0,85"), "GBP Livre\r\n0,87\r\n" + usd,
         ListModel::Saved::Merged, "GBP Livre sterling\r\n0,85\r\n" + usd},
        {"deleted while its rate moved", [](ListModel& l) { l.Delete(1); }, gbp + "USD Dollar\r\n1,10\r\n",
         ListModel::Saved::Merged, gbp},
        {"changed after the other deleted it", edit(1, "USD Dollar", "1,09"), gbp, ListModel::Saved::Merged,
         gbp + "USD Dollar\r\n1,09\r\n"},
        {"added by both",
         [](ListModel& l) {
             l.Append({"CHF Franc", "0,94"});
         },
         gbp + usd + chf, ListModel::Saved::Merged, chf + gbp + usd},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes("Rates.txt", gbp + usd);
        ListModel list(ListKind::Currencies, IgnoringCase());
        ASSERT_TRUE(list.LoadList(path, ','));
        row.mine(list);
        if (!row.theirs.empty()) ReplaceFileContents(path, row.theirs);
        bool told = false;
        EXPECT_EQ(list.SaveList(path, ',', [&told] { told = true; }), row.saved);
        EXPECT_EQ(told, row.saved == ListModel::Saved::Merged);
        EXPECT_EQ(Bytes("Rates.txt"), row.after);
        EXPECT_FALSE(list.Edited());
        EXPECT_EQ(list.FileChanged(path), row.saved == ListModel::Saved::Nothing && !row.theirs.empty());
    }
}

}  // namespace
}  // namespace devical::storage::testing
