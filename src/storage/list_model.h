// The rows of one list (currencies, taxes or saved amounts) as its window edits them: read
// from and written to the list file, kept in title order, each row known by an id that
// survives inserts, deletes and moves, so that an entry dialog stores into the row it was
// opened for.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <numeric>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/amount.h"
#include "storage/file_io.h"
#include "storage/list_file.h"

namespace devical::storage {

enum class ListKind { Currencies, Taxes, SavedAmounts };

// The order of titles in the user's locale, which the window layer knows: compare for one
// pair of titles, and for a whole sort a key computed once per title (keys ordered by <).
class Collation {
public:
    template <typename Compare, typename KeyOf>
    Collation(Compare compare, KeyOf keyOf)
        : compare_(std::move(compare)),
          sortOrder_([keyOf = std::move(keyOf)](const std::vector<std::string_view>& titles) {
              std::vector<decltype(keyOf(std::string_view()))> keys;
              keys.reserve(titles.size());
              for (std::string_view title : titles)
                  keys.push_back(keyOf(title));
              std::vector<std::uint32_t> order(titles.size());
              std::iota(order.begin(), order.end(), 0u);
              std::stable_sort(order.begin(), order.end(), [&keys](auto a, auto b) { return keys[a] < keys[b]; });
              return order;
          }) {}

    bool Less(std::string_view a, std::string_view b) const { return compare_(a, b) < 0; }
    // The titles' indices in title order, equal titles in the order given.
    std::vector<std::uint32_t> SortOrder(const std::vector<std::string_view>& titles) const {
        return sortOrder_(titles);
    }

private:
    std::function<int(std::string_view, std::string_view)> compare_;
    std::function<std::vector<std::uint32_t>(const std::vector<std::string_view>&)> sortOrder_;
};

using RowId = std::uint32_t;

struct ListRow {
    RowId id = 0;
    bool locked = false;  // a fixed euro-area rate, as the file named it: neither edited nor deleted
    bool placed = true;   // in title order with the other placed rows; rows added or edited since the list
                          // was last sorted are not
    bool added = false;   // added by the user since the list was last read or written
    std::string title;
    std::string amounts[2];  // the rate, or the national and euro amounts
};

// The working row of an entry dialog, and the row it goes back to.
struct RowEdit {
    std::string title;  // a saved amount's without its currency prefix
    std::vector<std::string> amounts;
    std::optional<std::string> memoryPrefix;  // saved amounts: the prefix the title had
    RowId rowId = 0;
};

// What choosing a row hands to the main window.
struct CurrencyChoice {
    std::string title, rateText;  // exactly as listed
    engine::Amount rate = 1;
};
struct TaxChoice {
    std::string title, rateText;
    engine::Amount rate = 0;
};
struct SavedAmountChoice {
    std::string title, nationalAmount, euroAmount;
};
// A listed rate that is not a number (only a hand-edited file holds one): nothing is chosen.
struct UnreadableRate {
    std::string message;
};
using RowChoice = std::variant<CurrencyChoice, TaxChoice, SavedAmountChoice, UnreadableRate>;

class SettingsChanges;
// The settings keys of a choice, to write together.
void AddChoice(SettingsChanges& changes, const RowChoice& choice);

class ListModel {
public:
    ListModel(ListKind kind, Collation collation) : kind_(kind), collation_(std::move(collation)) {}

    ListKind Kind() const { return kind_; }
    int FieldsPerRow() const { return kind_ == ListKind::SavedAmounts ? kMemoryFields : kRateFields; }
    std::size_t Size() const { return rows_.size(); }
    const ListRow& Row(std::size_t position) const { return rows_[position]; }
    // Field 0 is the title, then come the amounts; a field the kind does not have is empty.
    std::string_view Field(std::size_t position, int field) const;
    std::optional<std::size_t> PositionOf(RowId id) const;
    // False once a row has been added: new rows stay at the end until the next save.
    bool IsSorted() const { return sorted_; }

    // The file's rows in title order, replacing the list's; false, the rows kept, when the
    // file does not exist. Throws FileError.
    bool LoadList(const std::filesystem::path& path, char decimalSeparator);
    // Whether the user changed the rows since they were last read or written.
    bool Edited() const { return edited_; }
    // Whether another writer changed the file since the list last read or wrote it. Throws FileError.
    bool FileChanged(const std::filesystem::path& path) const { return path != stampPath_ || StampOf(path) != stamp_; }
    // What the last load found amiss in the file (ListReader::Problems), for the window to
    // show; empty for a sound file.
    const std::vector<std::string>& Problems() const { return problems_; }
    // Sorts, then rewrites the file in the code and line end the list was last read in (a new
    // file's when it never was). A list the user did not change writes nothing, unless its file
    // has gone. A file that another writer changed meanwhile is never overwritten: the user's
    // edits (rows added, changed and deleted, known by their titles) are applied to its new rows,
    // which the list then holds, and those are written; aboutToMerge is called before the rows
    // change. Throws FileError.
    enum class Saved { Nothing, Written, Merged };
    Saved SaveList(const std::filesystem::path& path, char decimalSeparator,
                   const std::function<void()>& aboutToMerge = {});
    // Puts the rows in title order. The order applied comes back: position i now holds the
    // row that stood at order[i]; empty when every row was in its place.
    std::vector<std::uint32_t> Sort();

    // Appends the list's placeholder row (a saved amount's title begins with the current
    // currency's prefix); its id comes back.
    RowId Insert(std::string_view currencyTitle);
    RowId Append(const ListRecord& record);
    RowEdit EditFor(std::size_t position) const;
    // Where Store(edit) puts its row: from its position now to its new one. A row deleted
    // meanwhile (no from) comes back at its title's place, or at the end of a list that waits
    // for its sort.
    struct Move {
        std::optional<std::size_t> from;
        std::size_t to = 0;
    };
    Move PlaceFor(const RowEdit& edit) const;
    // The edit into the row it was made for; in a sorted list the row moves to its title's place.
    Move Store(const RowEdit& edit);
    void Delete(std::size_t position);

    RowChoice Choose(std::size_t position, char decimalSeparator) const;
    // The rows in their order, as the file holds them.
    std::vector<ListRecord> Records() const;

private:
    // The fields are moved into the row; those missing are empty, those past its kind's ignored.
    ListRow& AppendRow(std::span<std::string> fields, bool fromFile);
    ListRecord RecordOf(const ListRow& row) const;
    std::string FileBytes() const;
    // The row's record as the file had it, when the user has edited it.
    std::vector<std::pair<RowId, ListRecord>>::iterator OriginalOf(RowId id);
    // The user's edits applied to the records another writer left in the file.
    std::vector<ListRecord> MergedInto(std::vector<ListRecord> theirs) const;
    // Rows read from a file, in title order, with no edit pending.
    void TakeRows(const std::function<bool(std::span<std::string>)>& next);
    void Written(const FileStamp& stamp, const std::filesystem::path& path);

    ListKind kind_;
    Collation collation_;
    // A big list grows a block at a time: a vector's growth would copy it whole beside itself.
    std::deque<ListRow> rows_;
    bool sorted_ = true;
    RowId nextId_ = 1;
    TextFormat format_;                             // kept when the file has gone: the rows it gave are still in it
    std::set<std::string, std::less<>> utf8Lines_;  // see ListReader::Utf8Lines
    // What the file was when last read or written, and what the user did since.
    FileStamp stamp_;
    std::filesystem::path stampPath_;
    bool edited_ = false;
    std::vector<std::pair<RowId, ListRecord>> originals_;  // rows from the file, as they were before their edit
    std::vector<ListRecord> deleted_;                      // rows from the file that the user deleted
    std::vector<std::string> problems_;
};

}  // namespace devical::storage
