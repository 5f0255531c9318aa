#include "storage/list_model.h"

#include <cmath>

#include "engine/builtin_texts.h"
#include "engine/currency.h"
#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/settings.h"

namespace devical::storage {

namespace {

template <typename... Write>
struct Overloaded : Write... {
    using Write::operator()...;
};

}  // namespace

void AddChoice(SettingsChanges& changes, const RowChoice& choice) {
    std::visit(Overloaded{
                   [&](const CurrencyChoice& c) { changes.Currency(c.title, c.rateText); },
                   [&](const TaxChoice& c) { changes.Tax(c.title, c.rateText); },
                   [&](const SavedAmountChoice& c) { changes.Memory(c.title, c.nationalAmount, c.euroAmount); },
                   [](const UnreadableRate&) {},
               },
               choice);
}

std::string_view ListModel::Field(std::size_t position, int field) const {
    const ListRow& row = rows_[position];
    if (field < 0 || field >= FieldsPerRow()) return {};
    return field == 0 ? std::string_view(row.title) : std::string_view(row.amounts[field - 1]);
}

std::optional<std::size_t> ListModel::PositionOf(RowId id) const {
    const auto found = std::find_if(rows_.begin(), rows_.end(), [id](const ListRow& row) { return row.id == id; });
    if (found == rows_.end()) return std::nullopt;
    return static_cast<std::size_t>(found - rows_.begin());
}

ListRow& ListModel::AppendRow(std::span<std::string> fields, bool fromFile) {
    ListRow& row = rows_.emplace_back();
    row.id = nextId_++;
    if (!fields.empty()) row.title = std::move(fields[0]);
    for (std::size_t field = 1; field < fields.size() && field < static_cast<std::size_t>(FieldsPerRow()); ++field)
        row.amounts[field - 1] = std::move(fields[field]);
    // The mark comes from the title as read: a row added in the window stays unlocked until
    // the list is next loaded.
    row.locked = fromFile && kind_ == ListKind::Currencies && engine::IsPadlockedCurrency(row.title);
    row.placed = fromFile;
    return row;
}

bool ListModel::LoadList(const std::filesystem::path& path, char decimalSeparator) {
    // Each record goes straight into its row: a big list is held once, beside the file's bytes.
    ListReader reader(path, FieldsPerRow(), decimalSeparator);
    if (!reader.Exists()) {
        stamp_ = {};
        stampPath_ = path;
        return false;
    }
    format_ = reader.Format();
    problems_ = reader.Problems();
    TakeRows([&reader](std::span<std::string> fields) { return reader.Next(fields); });
    utf8Lines_ = reader.Utf8Lines();
    Written(reader.Stamp(), path);
    return true;
}

void ListModel::TakeRows(const std::function<bool(std::span<std::string>)>& next) {
    rows_.clear();
    rows_.shrink_to_fit();
    std::string buffer[kMemoryFields];
    const std::span<std::string> fields(buffer, static_cast<std::size_t>(FieldsPerRow()));
    while (next(fields))
        AppendRow(fields, true);
    // A saved list is in order already: one comparison per row tells, and only the rows after
    // the first one out of order need a place.
    const auto byTitle = [this](const ListRow& a, const ListRow& b) { return collation_.Less(a.title, b.title); };
    for (auto row = std::is_sorted_until(rows_.begin(), rows_.end(), byTitle); row != rows_.end(); ++row) {
        row->placed = false;
        sorted_ = false;
    }
    Sort();
}

void ListModel::Written(const FileStamp& stamp, const std::filesystem::path& path) {
    stamp_ = stamp;
    stampPath_ = path;
    edited_ = false;
    originals_.clear();
    deleted_.clear();
    for (ListRow& row : rows_)
        row.added = false;
}

ListModel::Saved ListModel::SaveList(const std::filesystem::path& path, char decimalSeparator,
                                     const std::function<void()>& aboutToMerge) {
    std::error_code error;
    if (!edited_ && std::filesystem::exists(std::filesystem::symlink_status(path, error))) return Saved::Nothing;
    Sort();
    // Only the file the rows came from is checked: another one is the user's to replace.
    const FileStamp expected = path == stampPath_ ? stamp_ : StampOf(path);
    try {
        Written(ReplaceFileIfUnchanged(path, FileBytes(), expected), path);
        return Saved::Written;
    } catch (const StaleFile&) {
    }
    // Another writer came first: its rows with the user's edits on them. Read and written under
    // one hold of the lock, so that nobody else comes in between.
    DirectoryLock lock(path.parent_path());
    ListReader reader(path, FieldsPerRow(), decimalSeparator);
    std::vector<ListRecord> theirs;
    for (ListRecord record(static_cast<std::size_t>(FieldsPerRow())); reader.Next(record);)
        theirs.push_back(record);
    if (reader.Exists()) format_ = reader.Format();
    utf8Lines_ = reader.Utf8Lines();
    const std::vector<ListRecord> merged = MergedInto(std::move(theirs));
    if (aboutToMerge) aboutToMerge();
    std::size_t next = 0;
    TakeRows([&](std::span<std::string> fields) {
        if (next == merged.size()) return false;
        std::copy(merged[next].begin(), merged[next].end(), fields.begin());
        ++next;
        return true;
    });
    Written(ReplaceFileIfUnchanged(path, FileBytes(), reader.Stamp()), path);
    return Saved::Merged;
}

// The file's bytes straight from the rows, in one block: a text is never longer in
// Windows-1252 than in UTF-8, nor a line end than CR LF.
std::string ListModel::FileBytes() const {
    std::size_t size = 0;
    for (std::size_t position = 0; position < rows_.size(); ++position)
        for (int field = 0; field < FieldsPerRow(); ++field)
            size += Field(position, field).size() + 2;
    // A letter Windows-1252 lacks makes the whole file UTF-8 rather than a '?'.
    TextFormat format = format_;
    for (std::size_t position = 0; position < rows_.size(); ++position)
        for (int field = 0; field < FieldsPerRow(); ++field)
            if (!Fits(Field(position, field), format.encoding)) format.encoding = TextEncoding::Utf8;
    std::string bytes(ByteOrderMark(format));
    bytes.reserve(bytes.size() + size);
    for (std::size_t position = 0; position < rows_.size(); ++position)
        for (int field = 0; field < FieldsPerRow(); ++field) {
            const std::string_view text = Field(position, field);
            if (format.encoding == TextEncoding::Cp1252 && utf8Lines_.contains(text))
                AppendListLine(bytes, text, {TextEncoding::Utf8, false, format.lineEnd});  // as it came
            else
                AppendListLine(bytes, text, format);
        }
    return bytes;
}

ListRecord ListModel::RecordOf(const ListRow& row) const {
    ListRecord record{row.title};
    record.insert(record.end(), std::begin(row.amounts), std::begin(row.amounts) + (FieldsPerRow() - 1));
    return record;
}

// Rows are known by their titles: a row deleted or changed by the user is the first one of
// the same title in the newer file (the very same record when there is one); a row changed
// that the other writer deleted comes back, and a row added is added unless it is there already.
std::vector<ListRecord> ListModel::MergedInto(std::vector<ListRecord> theirs) const {
    const auto find = [&theirs](const ListRecord& record) {
        const auto same = std::find(theirs.begin(), theirs.end(), record);
        if (same != theirs.end()) return same;
        return std::find_if(theirs.begin(), theirs.end(),
                            [&record](const ListRecord& r) { return r.front() == record.front(); });
    };
    for (const ListRecord& gone : deleted_) {
        if (const auto found = find(gone); found != theirs.end()) theirs.erase(found);
    }
    for (const auto& [id, original] : originals_) {
        const auto position = PositionOf(id);
        if (!position) continue;
        ListRecord mine = RecordOf(rows_[*position]);
        if (const auto found = find(original); found != theirs.end()) {
            *found = std::move(mine);
        } else {
            theirs.push_back(std::move(mine));
        }
    }
    for (const ListRow& row : rows_) {
        if (!row.added) continue;
        ListRecord mine = RecordOf(row);
        if (std::find(theirs.begin(), theirs.end(), mine) == theirs.end()) theirs.push_back(std::move(mine));
    }
    return theirs;
}

// The rows out of place are sorted by key, then each goes after the placed rows whose titles
// are not above its own: found by bisection when they are few, by one walk when they are many.
std::vector<std::uint32_t> ListModel::Sort() {
    if (sorted_) return {};
    sorted_ = true;
    std::vector<std::uint32_t> placed, loose;
    std::vector<std::string_view> looseTitles;
    for (std::uint32_t position = 0; position < rows_.size(); ++position) {
        ListRow& row = rows_[position];
        (row.placed ? placed : loose).push_back(position);
        if (!row.placed) looseTitles.push_back(row.title);
        row.placed = true;
    }
    if (loose.empty()) return {};
    const std::vector<std::uint32_t> looseOrder = collation_.SortOrder(looseTitles);

    const double placedRows = static_cast<double>(placed.size());
    const bool bisect = static_cast<double>(loose.size()) * std::log2(placedRows + 1) < placedRows;
    const auto above = [this](std::string_view title, std::uint32_t position) {
        return collation_.Less(title, rows_[position].title);
    };
    std::vector<std::uint32_t> order;
    order.reserve(rows_.size());
    auto next = placed.begin();
    for (const std::uint32_t k : looseOrder) {
        auto end = next;
        if (bisect) end = std::upper_bound(next, placed.end(), looseTitles[k], above);
        while (!bisect && end != placed.end() && !above(looseTitles[k], *end))
            ++end;
        order.insert(order.end(), next, end);
        order.push_back(loose[k]);
        next = end;
    }
    order.insert(order.end(), next, placed.end());

    // The rows move in place, cycle by cycle: a copy of the list would double it at every save.
    std::vector<bool> moved(rows_.size());
    for (std::size_t start = 0; start < rows_.size(); ++start) {
        if (moved[start] || order[start] == start) continue;
        ListRow held = std::move(rows_[start]);
        std::size_t at = start;
        for (; order[at] != start; at = order[at]) {
            rows_[at] = std::move(rows_[order[at]]);
            moved[at] = true;
        }
        rows_[at] = std::move(held);
        moved[at] = true;
    }
    return order;
}

RowId ListModel::Insert(std::string_view currencyTitle) {
    switch (kind_) {
    case ListKind::Currencies: return Append({engine::BuiltInText("NewCurrency"), "1"});
    case ListKind::Taxes: return Append({engine::BuiltInText("NewTax"), "0"});
    case ListKind::SavedAmounts:
        return Append({engine::MemoryCurrencyPrefix(currencyTitle) + engine::BuiltInText("NewMemory"), "0", "0"});
    }
    return 0;
}

RowId ListModel::Append(const ListRecord& record) {
    sorted_ = false;
    edited_ = true;
    ListRecord fields = record;
    ListRow& row = AppendRow(fields, false);
    row.added = true;
    return row.id;
}

RowEdit ListModel::EditFor(std::size_t position) const {
    const ListRow& row = rows_[position];
    RowEdit edit;
    edit.rowId = row.id;
    edit.title = row.title;
    if (kind_ == ListKind::SavedAmounts) {
        // The title's first four characters are its currency's prefix; the dialog edits the rest.
        edit.memoryPrefix = engine::MemoryCurrencyPrefix(row.title);
        edit.title = engine::AfterMemoryCurrencyPrefix(row.title);
    }
    edit.amounts.assign(std::begin(row.amounts), std::begin(row.amounts) + (FieldsPerRow() - 1));
    return edit;
}

ListModel::Move ListModel::PlaceFor(const RowEdit& edit) const {
    const std::optional<std::size_t> from = PositionOf(edit.rowId);
    const auto greater = [this](std::string_view title, const ListRow& row) {
        return collation_.Less(title, row.title);
    };
    if (!from) {
        if (!sorted_) return {std::nullopt, rows_.size()};
        const auto place = std::upper_bound(rows_.begin(), rows_.end(), std::string_view(edit.title), greater);
        return {std::nullopt, static_cast<std::size_t>(place - rows_.begin())};
    }
    if (!sorted_) return {from, *from};
    // The place a stable sort would give it: after the rows before it whose titles are not
    // above the new one, before the rows after it whose titles are not below it.
    const auto less = [this](const ListRow& row, std::string_view title) { return collation_.Less(row.title, title); };
    const auto at = rows_.begin() + static_cast<std::ptrdiff_t>(*from);
    const auto above = std::upper_bound(rows_.begin(), at, std::string_view(edit.title), greater);
    if (above != at) return {from, static_cast<std::size_t>(above - rows_.begin())};
    const auto below = std::lower_bound(at + 1, rows_.end(), std::string_view(edit.title), less);
    return {from, static_cast<std::size_t>(below - rows_.begin()) - 1};
}

ListModel::Move ListModel::Store(const RowEdit& edit) {
    const Move move = PlaceFor(edit);
    edited_ = true;
    if (move.from) {
        const ListRow& before = rows_[*move.from];
        if (!before.added && OriginalOf(before.id) == originals_.end())
            originals_.emplace_back(before.id, RecordOf(before));
    } else {
        ListRow& back = AppendRow({}, false);  // deleted meanwhile: the row comes back, the dialog's still
        back.id = edit.rowId;
        back.added = true;
    }
    const auto to = rows_.begin() + static_cast<std::ptrdiff_t>(move.to);
    const auto from = move.from ? rows_.begin() + static_cast<std::ptrdiff_t>(*move.from) : rows_.end() - 1;
    if (to < from) std::rotate(to, from, from + 1);
    if (from < to) std::rotate(from, from + 1, to + 1);
    ListRow& row = *to;
    // In a sorted list the row has moved to its place; in one that waits for its sort, a new
    // title leaves it out of place, and a row added since the sort stays out of place whatever
    // its title.
    row.placed = sorted_ || (move.from && row.placed && row.title == edit.title);
    row.title = edit.title;
    // Only the kind's amounts: a currency or tax row has one, whatever the edit holds.
    const auto amounts = std::min(edit.amounts.size(), static_cast<std::size_t>(FieldsPerRow() - 1));
    for (std::size_t field = 0; field < amounts; ++field)
        row.amounts[field] = edit.amounts[field];
    return move;
}

std::vector<std::pair<RowId, ListRecord>>::iterator ListModel::OriginalOf(RowId id) {
    return std::find_if(originals_.begin(), originals_.end(), [id](const auto& noted) { return noted.first == id; });
}

void ListModel::Delete(std::size_t position) {
    const ListRow& row = rows_[position];
    edited_ = true;
    if (!row.added) {
        const auto original = OriginalOf(row.id);
        if (original == originals_.end()) {
            deleted_.push_back(RecordOf(row));
        } else {
            deleted_.push_back(std::move(original->second));
            originals_.erase(original);
        }
    }
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

RowChoice ListModel::Choose(std::size_t position, char decimalSeparator) const {
    const ListRow& row = rows_[position];
    if (kind_ == ListKind::SavedAmounts) return SavedAmountChoice{row.title, row.amounts[0], row.amounts[1]};
    engine::Amount rate = 0;
    try {
        rate = engine::ParseAmount(row.amounts[0], decimalSeparator);
    } catch (const engine::ConversionError& error) {
        return UnreadableRate{error.what()};
    }
    if (kind_ == ListKind::Currencies) return CurrencyChoice{row.title, row.amounts[0], rate};
    return TaxChoice{row.title, row.amounts[0], rate};
}

std::vector<ListRecord> ListModel::Records() const {
    std::vector<ListRecord> records;
    records.reserve(rows_.size());
    for (const ListRow& row : rows_)
        records.push_back(RecordOf(row));
    return records;
}

}  // namespace devical::storage
